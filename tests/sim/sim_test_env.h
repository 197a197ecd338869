// Per-test surroundings: a fresh temporary folder holding the state file,
// the simulator's variables pointing into it, and a fresh library session.
#pragma once

#include <ostream>
#include <string>

#include "sim/state.h"

namespace sim {

// Readable failure output for devices.
void PrintTo(const Device& device, std::ostream* os);

namespace testing {

class SimEnvironment {
 public:
  SimEnvironment();
  ~SimEnvironment();
  SimEnvironment(const SimEnvironment&) = delete;
  SimEnvironment& operator=(const SimEnvironment&) = delete;

  const std::string& folder() const { return folder_; }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }
  const std::string& statePath() const { return statePath_; }

  // Replaces the state with `state` / a single device of `series`.
  void Write(const State& state) const;
  void UseSingleDevice(Series series) const;

  // The state as the file holds it now (fails the test if unreadable).
  State Read() const;
  Device ReadDevice(std::size_t index = 0) const;

  // Starts tracing into a file in the folder; returns its path.
  std::string EnableTrace() const;
  std::string ReadText(const std::string& path) const;

 private:
  std::string folder_;
  std::string statePath_;
};

void SetFaults(const std::string& rules);

}  // namespace testing
}  // namespace sim
