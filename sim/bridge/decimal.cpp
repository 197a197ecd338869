#include "sim/bridge/decimal.h"

#include <cerrno>
#include <cstdlib>

#include "platform/process.h"

namespace sim {

bool ParseDecimal(const std::string& text, long min, long max, long* value) {
  // strtol would skip leading blanks: a number here is nothing but itself.
  if (text.empty() || text[0] == ' ' || text[0] == '\t' || text[0] == '\n') return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
  *value = parsed;
  return true;
}

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string KnobText(const char* variable) {
  return TrimBlanks(platform::EnvironmentText(variable));
}

}  // namespace sim
