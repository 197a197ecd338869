#include "recorder/recording.h"

#include "callrecord/entry_names.h"
#include "callrecord/session_lines.h"
#include "platform/files.h"
#include "platform/process.h"

namespace recorder {

namespace {

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

// Binds the real library's entry points; says what it could not bind.
std::string BindRealLibrary(const std::string& path, FARPROC* entries) {
  HMODULE library = LoadLibraryAtPath(path.c_str());
  if (library == nullptr) return "not loaded";
  if (GetProcAddress(library, kRecorderMark) != nullptr) {
    FreeLibrary(library);
    return "is a recorder";
  }
  // Loaded for good: it stays until the process ends.
  std::string problem;
  for (int i = 0; i < sdk::kApiEntryCount; ++i) {
    entries[i] = GetProcAddress(library, callrecord::kEntryNames[i]);
    if (entries[i] != nullptr) continue;
    problem += (problem.empty() ? "lacking " : " ") + std::string(callrecord::kEntryNames[i]);
  }
  return problem;
}

Run StartRun() {
  Run run;
  try {
    // 2024-05-01T09:30:00.123456Z: the run line shows it to the millisecond.
    const std::string start = platform::CurrentTimeText();
    run.id = callrecord::SessionRunId(static_cast<long>(platform::CurrentProcessId()), start);
    std::string path = platform::EnvironmentText(kRealLibraryVariable);
    if (path.empty()) path = OwnFolder() + kRealLibraryFileName;
    const std::string problem = BindRealLibrary(path, run.entries);
    bool cut = false;
    const std::string command = platform::ProcessCommandLine(callrecord::kMaxRunCommandLine, &cut);
    AppendToSession(
        callrecord::SessionRunLine(start.substr(0, 23) + "Z", run.id, command, cut, path, problem));
  } catch (...) {
    // Whatever was bound stays bound; only the run line is lost.
  }
  return run;
}

}  // namespace

const Run& ThisRun() {
  static const Run run = StartRun();
  return run;
}

void AppendToSession(const std::string& text) noexcept {
  try {
    platform::AppendToFile(SessionPath(), text);
  } catch (...) {
  }
}

std::string TimeOfDay() { return platform::CurrentTimeText().substr(11, 12); }

}  // namespace recorder
