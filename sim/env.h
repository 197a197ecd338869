// The simulator's own environment variables (the tool itself reads none).
#pragma once

#include <string>

namespace sim {

constexpr const char* kStateVariable = "BRIDGESIM_STATE";
constexpr const char* kTraceVariable = "BRIDGESIM_TRACE";
constexpr const char* kFaultVariable = "BRIDGESIM_FAULT";
constexpr const char* kInterruptVariable = "BRIDGESIM_INTERRUPT";
constexpr const char* kDelayVariable = "BRIDGESIM_DELAY";

// The variable's value; empty and `present` false when it is not set.
std::string EnvText(const char* name, bool* present = nullptr);

// BRIDGESIM_STATE, else the user's state folder (XDG_STATE_HOME, ~/.local/state,
// or %LOCALAPPDATA% on Windows) + bridgesim/state.json.
std::string StatePath();

}  // namespace sim
