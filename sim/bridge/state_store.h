// The state file: every read under a shared lock, every change a locked
// read-modify-write that replaces the file atomically. A symbolic link at the
// path is followed: its target is read, replaced and locked. Anything but a
// regular file of at most 1 MiB is refused without blocking.
#pragma once

#include <functional>
#include <string>

#include "sim/bridge/state.h"

namespace sim {

constexpr const char* kStateVariable = "BRIDGESIM_STATE";

// BRIDGESIM_STATE, else the user's state folder (XDG_STATE_HOME, ~/.local/state,
// or %LOCALAPPDATA% on Windows) + bridgesim/state.json.
std::string StatePath();

class StateStore {
 public:
  explicit StateStore(std::string path);

  // The store at StatePath().
  static StateStore FromEnvironment();

  const std::string& path() const { return path_; }

  // Loads the state. A missing file is first created with the default state;
  // a corrupt or unreadable one fails and stays as it is.
  bool Load(State* state, std::string* error) const;

  // Loads, lets `change` edit, and writes back, all under the exclusive lock.
  // `change` returning false leaves the file untouched and fails the update.
  bool Update(const std::function<bool(State&)>& change, std::string* error) const;

  // Writes `state` whatever the file holds now: the explicit way out of a
  // corrupt file.
  bool Overwrite(const State& state, std::string* error) const;

 private:
  // With the exclusive lock held: the current state, created if missing.
  bool LoadLocked(const std::string& file, State* state, bool create_missing,
                  std::string* error) const;

  std::string path_;
};

}  // namespace sim
