#include "recorder/recording.h"

#include "callrecord/entry_names.h"
#include "callrecord/session_lines.h"
#include "platform/files.h"
#include "platform/process.h"

namespace recorder {

namespace {

// The clock to the millisecond (2024-05-01T09:30:00.123Z): the session's run
// lines carry the date, its calls the time.
std::string RunTime() { return platform::CurrentTimeText(3); }

// The folder the recorder was loaded from, with its trailing separator; empty
// when it cannot be told.
std::string OwnFolder() {
  static const char kInThisModule = 0;
  char folder[4096];
  return ModuleFolder(&kInThisModule, folder, sizeof folder) ? folder : "";
}

const std::string& SessionPath() {
  static const std::string path = [] {
    const std::string named = platform::EnvironmentText(kRecordVariable);
    return named.empty() ? OwnFolder() + kDefaultSessionFileName : named;
  }();
  return path;
}

struct RealLibrary {
  FARPROC entries[kApiEntryCount] = {};

  RealLibrary() {
    try {
      std::string path = platform::EnvironmentText(kRealLibraryVariable);
      if (path.empty()) path = OwnFolder() + kRealLibraryFileName;
      std::string problem;
      // Loaded for good: it stays until the process ends.
      if (HMODULE library = LoadLibraryAtPath(path.c_str())) {
        for (int i = 0; i < kApiEntryCount; ++i) {
          entries[i] = GetProcAddress(library, callrecord::kEntryNames[i]);
          if (entries[i] != nullptr) continue;
          problem += (problem.empty() ? "lacking " : " ") + std::string(callrecord::kEntryNames[i]);
        }
      } else {
        problem = "not loaded";
      }
      AppendToSession(callrecord::SessionRunLine(
          RunTime(), static_cast<long>(platform::CurrentProcessId()), path, problem));
    } catch (...) {
      // Whatever was bound stays bound; only the run line is lost.
    }
  }
};

}  // namespace

const FARPROC* RealEntries() {
  static const RealLibrary real;
  return real.entries;
}

void AppendToSession(const std::string& text) noexcept {
  try {
    platform::AppendToFile(SessionPath(), text);
  } catch (...) {
  }
}

std::string TimeOfDay() { return RunTime().substr(11, 12); }

}  // namespace recorder
