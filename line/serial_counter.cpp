#include "line/serial_counter.h"

#include <limits>

#include "platform/files.h"
#include "runtime/decimal.h"

namespace line {

namespace {

constexpr uint64_t kMost = std::numeric_limits<uint64_t>::max();

// The number, with a leading UTF-8 byte-order mark and blanks and line ends
// around it allowed (as Notepad and `echo 1000 > file` in cmd write it); an
// empty file is a counter not yet used. Otherwise why it is no counter.
bool ParseCounter(std::string text, uint64_t* value, std::string* why) {
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const char* const blank = " \t\r\n";
  const size_t first = text.find_first_not_of(blank);
  text = first == std::string::npos ? ""
                                    : text.substr(first, text.find_last_not_of(blank) + 1 - first);
  if (!text.empty() && !runtime::ParseUnsigned(text, kMost, value)) {
    const std::string shown = text.size() > 24 ? text.substr(0, 24) + "..." : text;
    const bool digits = text.find_first_not_of("0123456789") == std::string::npos;
    *why = digits ? "holds " + shown + ", past the largest number"
                  : "holds \"" + shown + "\", which is no number";
    return false;
  }
  if (text.empty()) *value = 0;
  if (*value == kMost) {
    *why = "is used up (" + text + ")";
    return false;
  }
  return true;
}

}  // namespace

std::string RangeUsedUp(uint64_t number, uint64_t end) {
  return "the serial range is used up: the next number, " + std::to_string(number) +
         ", is past serial_end " + std::to_string(end);
}

bool NextSerialNumber(const std::string& counterPath, uint64_t start, bool take, uint64_t* number,
                      std::string* why, uint64_t end) {
  std::string fault;
  const auto refused = [&] { *why = counterPath + " " + fault + ": refused rather than guessed"; };
  const auto usedUp = [&] { *why = RangeUsedUp(*number, end); };
  if (!take) {
    // A look needs no lock, and must not make the file: a missing one is unused.
    std::string text;
    bool missing = false;
    if (!platform::ReadFileText(counterPath, &text, &missing, why) && !missing) return false;
    uint64_t next = 0;
    if (!ParseCounter(text, &next, &fault)) {
      refused();
      return false;
    }
    *number = next < start ? start : next;
    if (*number > end) usedUp();
    return *number <= end;
  }
  bool parsed = true;
  const bool changed = platform::ChangeFileLocked(
      counterPath,
      [&](std::string& text) {
        uint64_t next = 0;
        parsed = ParseCounter(text, &next, &fault);
        if (!parsed) return false;
        *number = next < start ? start : next;
        if (*number > end) return false;  // nothing handed out, nothing written
        text = std::to_string(*number + 1) + "\n";
        return true;
      },
      why);
  if (changed && !parsed) refused();
  if (changed && parsed && *number > end) usedUp();
  return changed && parsed && *number <= end;
}

}  // namespace line
