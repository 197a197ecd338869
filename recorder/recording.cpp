#include "recorder/recording.h"

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

// The simulator's clock text (2024-05-01T09:30:00.123456Z), cut to
// milliseconds: the session's run lines carry the date, its calls the time.
std::string RunTime() { return sim::CurrentTimeText().substr(0, 23) + "Z"; }

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
      AppendToSession(sim::SessionRunLine(RunTime(), static_cast<long>(sim::CurrentProcessId()),
                                          path, problem));
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

std::string TimeOfDay() { return sim::CurrentTimeText().substr(11, 12); }

}  // namespace recorder
