#include "platform/process.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace platform {

std::string CurrentTimeText(int decimals) {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  long long fraction = duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000;
  decimals = decimals < 0 ? 0 : decimals > 6 ? 6 : decimals;
  for (int digit = decimals; digit < 6; ++digit) fraction /= 10;
  std::tm utc = {};
#if defined(_WIN32)
  gmtime_s(&utc, &seconds);
#else
  gmtime_r(&seconds, &utc);
#endif
  // Room for any year the calendar can hold, not only four digits.
  char text[64];
  const int length =
      std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", utc.tm_year + 1900,
                    utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  std::string result(text, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (decimals > 0) {
    std::snprintf(text, sizeof text, ".%0*lld", decimals, fraction < 0 ? 0 : fraction);
    result += text;
  }
  return result + "Z";
}

}  // namespace platform
