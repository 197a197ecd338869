#include "runtime/decimal.h"

namespace runtime {

bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t* value) {
  if (text.empty()) return false;
  uint64_t parsed = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (parsed > (max - digit) / 10) return false;
    parsed = parsed * 10 + digit;
  }
  *value = parsed;
  return true;
}

bool ParseDecimal(const std::string& text, int64_t min, int64_t max, int64_t* value) {
  const bool negative = !text.empty() && text[0] == '-';
  const bool sign = negative || (!text.empty() && text[0] == '+');
  // The magnitude's limit on the sign's side; INT64_MIN's magnitude fits in 64 bits unsigned.
  const uint64_t limit = negative ? (min < 0 ? 0 - static_cast<uint64_t>(min) : 0)
                                  : (max < 0 ? 0 : static_cast<uint64_t>(max));
  uint64_t magnitude = 0;
  if (!ParseUnsigned(text.substr(sign ? 1 : 0), limit, &magnitude)) return false;
  const int64_t parsed =
      negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  if (parsed < min || parsed > max) return false;
  *value = parsed;
  return true;
}

}  // namespace runtime
