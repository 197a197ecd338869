#include "sim/bridge/decimal.h"

#include <cerrno>
#include <cstdlib>

namespace sim {

bool ParseDecimal(const std::string& text, long min, long max, long* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
  *value = parsed;
  return true;
}

}  // namespace sim
