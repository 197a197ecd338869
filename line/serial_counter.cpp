#include "line/serial_counter.h"

#include <limits>

#include "platform/files.h"

namespace {

// Digits and an optional line end; an empty file is a counter not yet used.
bool ParseCounter(const std::string& text, uint64_t* value) {
  *value = 0;
  size_t at = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    const uint64_t digit = static_cast<uint64_t>(text[at] - '0');
    if (*value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    *value = *value * 10 + digit;
  }
  const std::string rest = text.substr(at);
  return (at > 0 || text.empty()) && (rest.empty() || rest == "\n" || rest == "\r\n");
}

}  // namespace

bool NextSerialNumber(const std::string& counterPath, uint64_t start, bool take, uint64_t* number,
                      std::string* why) {
  const std::string refused = counterPath + " holds no counter: refused rather than guessed";
  if (!take) {
    // A look needs no lock, and must not make the file: a missing one is unused.
    std::string text;
    bool missing = false;
    if (!platform::ReadFileText(counterPath, &text, &missing, why) && !missing) return false;
    uint64_t next = 0;
    if (!ParseCounter(text, &next)) {
      *why = refused;
      return false;
    }
    *number = next < start ? start : next;
    return true;
  }
  bool parsed = true;
  const bool changed = platform::ChangeFileLocked(
      counterPath,
      [&](std::string& text) {
        uint64_t next = 0;
        parsed = ParseCounter(text, &next) && next < std::numeric_limits<uint64_t>::max();
        if (!parsed) return false;
        *number = next < start ? start : next;
        text = std::to_string(*number + 1) + "\n";
        return true;
      },
      why);
  if (changed && !parsed) *why = refused;
  return changed && parsed;
}
