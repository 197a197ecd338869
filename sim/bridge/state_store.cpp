#include "sim/bridge/state_store.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/files.h"
#include "platform/process.h"
#include "sim/bridge/decimal.h"
#include "sim/bridge/state_json.h"

namespace sim {
namespace {

// Through symbolic links to the file they name: that file is read and
// replaced, and its lock lies beside it.
struct Target {
  std::string file;
  std::string lock;
};

bool Prepare(const std::string& path, Target* target, std::string* error) {
  target->file = platform::ResolveLinks(path);
  target->lock = target->file + ".lock";
  std::error_code ec;
  const auto status = std::filesystem::status(target->file, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    *error = target->file + " is not a regular file";
    return false;
  }
  return platform::CreateParentFolders(target->file, error);
}

// Only what Load reads back is written: a state the reader would refuse would
// lock every later call out of it.
bool Write(const Target& target, const State& state, std::string* error) {
  const std::string text = StateToJson(state);
  State readBack;
  if (text.size() > platform::kMaxTextFileSize) {
    *error = "the state would take " + std::to_string(text.size()) + " bytes, more than the " +
             std::to_string(platform::kMaxTextFileSize) + " a state file may hold";
    return false;
  }
  if (!StateFromJson(text, &readBack, error)) {
    *error = "the state would not read back: " + *error;
    return false;
  }
  platform::RemoveStaleTemporaries(target.file);
  return platform::ReplaceFileAtomically(target.file, text, error);
}

}  // namespace

std::string StatePath() {
  std::string path = KnobText(kStateVariable);
  if (!path.empty()) return path;
#if defined(_WIN32)
  std::string base = platform::EnvironmentText("LOCALAPPDATA");
  if (base.empty()) base = platform::EnvironmentText("APPDATA");
  if (base.empty()) base = ".";
  return base + "\\bridgesim\\state.json";
#else
  std::string base = platform::EnvironmentText("XDG_STATE_HOME");
  if (base.empty()) {
    std::string home = platform::EnvironmentText("HOME");
    base = (home.empty() ? std::string(".") : home) + "/.local/state";
  }
  return base + "/bridgesim/state.json";
#endif
}

StateStore::StateStore(std::string path) : path_(std::move(path)) {}

StateStore StateStore::FromEnvironment() { return StateStore(StatePath()); }

bool StateStore::LoadLocked(const std::string& file, State* state, bool create_missing,
                            std::string* error) const {
  std::string text;
  bool missing = false;
  if (!platform::ReadFileText(file, &text, &missing, error)) {
    if (!missing || !create_missing) return false;
    *state = DefaultState();
    error->clear();
    return Write(Target{file, ""}, *state, error);
  }
  if (!StateFromJson(text, state, error)) {
    *error = path_ + " is corrupt: " + *error;
    return false;
  }
  return true;
}

bool StateStore::Load(State* state, std::string* error) const {
  Target target;
  if (!Prepare(path_, &target, error)) return false;
  {
    auto lock = platform::FileLock::Acquire(target.lock, /*exclusive=*/false, error);
    if (!lock) return false;
    std::string text;
    bool missing = false;
    if (platform::ReadFileText(target.file, &text, &missing, error)) {
      if (StateFromJson(text, state, error)) return true;
      *error = path_ + " is corrupt: " + *error;
      return false;
    }
    if (!missing) return false;
  }
  // First use: create the default state under the exclusive lock (another
  // process may have created it meanwhile, which LoadLocked then reads).
  auto lock = platform::FileLock::Acquire(target.lock, /*exclusive=*/true, error);
  if (!lock) return false;
  return LoadLocked(target.file, state, /*create_missing=*/true, error);
}

bool StateStore::Update(const std::function<bool(State&)>& change, std::string* error) const {
  Target target;
  if (!Prepare(path_, &target, error)) return false;
  auto lock = platform::FileLock::Acquire(target.lock, /*exclusive=*/true, error);
  if (!lock) return false;
  State state;
  if (!LoadLocked(target.file, &state, /*create_missing=*/true, error)) return false;
  if (!change(state)) return false;
  return Write(target, state, error);
}

bool StateStore::Overwrite(const State& state, std::string* error) const {
  Target target;
  if (!Prepare(path_, &target, error)) return false;
  auto lock = platform::FileLock::Acquire(target.lock, /*exclusive=*/true, error);
  if (!lock) return false;
  return Write(target, state, error);
}

}  // namespace sim
