#include "recorder/recording.h"

#include <chrono>
#include <cstdio>

#include "sim/env.h"
#include "sim/platform_file.h"
#include "sim/session_format.h"

namespace recorder {

namespace {

const char* const kEntryNames[kApiEntryCount] = {
#define RECORDER_ENTRY_NAME(name, params, args) #name,
    QZ_API_ENTRIES(RECORDER_ENTRY_NAME)
#undef RECORDER_ENTRY_NAME
};

// The calendar time with milliseconds, as `format` (strftime) plus ".mmm".
std::string Now(const char* format, const char* suffix) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm calendar = UtcCalendar(seconds);
  char text[40];
  const std::size_t n = std::strftime(text, sizeof text, format, &calendar);
  std::snprintf(text + n, sizeof text - n, ".%03d%s", static_cast<int>(millis), suffix);
  return text;
}

const std::string& SessionPath() {
  static const std::string path = [] {
    const std::string named = sim::EnvText(kRecordVariable);
    return named.empty() ? OwnFolder() + kDefaultSessionFileName : named;
  }();
  return path;
}

struct RealLibrary {
  Proc entries[kApiEntryCount] = {};

  RealLibrary() {
    try {
      std::string path = sim::EnvText(kRealLibraryVariable);
      if (path.empty()) path = OwnFolder() + kRealLibraryFileName;
      std::string problem;
      if (void* library = LoadRealLibrary(path)) {
        for (int i = 0; i < kApiEntryCount; ++i) {
          entries[i] = RealExport(library, kEntryNames[i]);
          if (entries[i] != nullptr) continue;
          problem += (problem.empty() ? "lacking " : " ") + std::string(kEntryNames[i]);
        }
      } else {
        problem = "not loaded";
      }
      AppendToSession(
          sim::SessionRunLine(Now("%Y-%m-%dT%H:%M:%S", "Z"), ProcessId(), path, problem));
    } catch (...) {
      // Whatever was bound stays bound; only the run line is lost.
    }
  }
};

}  // namespace

const Proc* RealEntries() {
  static const RealLibrary real;
  return real.entries;
}

void AppendToSession(const std::string& text) noexcept {
  try {
    sim::AppendToFile(SessionPath(), text);
  } catch (...) {
  }
}

std::string TimeOfDay() { return Now("%H:%M:%S", ""); }

}  // namespace recorder
