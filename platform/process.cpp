#include "platform/process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace platform {

std::string CurrentTimeText() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const long long micros = duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000;
  std::tm utc = {};
#if defined(_WIN32)
  gmtime_s(&utc, &seconds);
#else
  gmtime_r(&seconds, &utc);
#endif
  // Room for any year the calendar can hold, not only four digits.
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06lldZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                micros < 0 ? 0 : micros);
  return text;
}

std::string EnvironmentText(const char* name, bool* present) {
  const char* value = std::getenv(name);
  if (present != nullptr) *present = (value != nullptr);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace platform
