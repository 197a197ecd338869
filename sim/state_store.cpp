#include "sim/state_store.h"

#include <utility>

#include "sim/env.h"
#include "sim/platform_file.h"
#include "sim/state_json.h"

namespace sim {

StateStore::StateStore(std::string path) : path_(std::move(path)) {}

StateStore StateStore::FromEnvironment() { return StateStore(StatePath()); }

bool StateStore::LoadLocked(State* state, bool create_missing, std::string* error) const {
  std::string text;
  bool missing = false;
  if (!ReadFileText(path_, &text, &missing, error)) {
    if (!missing || !create_missing) return false;
    *state = DefaultState();
    return ReplaceFileAtomically(path_, StateToJson(*state), error);
  }
  if (!StateFromJson(text, state, error)) {
    *error = path_ + " is corrupt: " + *error;
    return false;
  }
  return true;
}

bool StateStore::Load(State* state, std::string* error) const {
  if (!CreateParentFolders(path_, error)) return false;
  {
    auto lock = FileLock::Acquire(path_ + ".lock", /*exclusive=*/false, error);
    if (!lock) return false;
    std::string text;
    bool missing = false;
    if (ReadFileText(path_, &text, &missing, error)) {
      if (StateFromJson(text, state, error)) return true;
      *error = path_ + " is corrupt: " + *error;
      return false;
    }
    if (!missing) return false;
  }
  // First use: create the default state under the exclusive lock (another
  // process may have created it meanwhile, which LoadLocked then reads).
  auto lock = FileLock::Acquire(path_ + ".lock", /*exclusive=*/true, error);
  if (!lock) return false;
  return LoadLocked(state, /*create_missing=*/true, error);
}

bool StateStore::Update(const std::function<bool(State&)>& change, std::string* error) const {
  if (!CreateParentFolders(path_, error)) return false;
  auto lock = FileLock::Acquire(path_ + ".lock", /*exclusive=*/true, error);
  if (!lock) return false;
  State state;
  if (!LoadLocked(&state, /*create_missing=*/true, error)) return false;
  if (!change(state)) return false;
  return ReplaceFileAtomically(path_, StateToJson(state), error);
}

bool StateStore::Overwrite(const State& state, std::string* error) const {
  if (!CreateParentFolders(path_, error)) return false;
  auto lock = FileLock::Acquire(path_ + ".lock", /*exclusive=*/true, error);
  if (!lock) return false;
  return ReplaceFileAtomically(path_, StateToJson(state), error);
}

}  // namespace sim
