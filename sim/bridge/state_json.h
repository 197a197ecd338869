// The state file's text form: human-readable JSON, one object per device,
// attached or unplugged, and the next path's number.
#pragma once

#include <string>

#include "sim/bridge/state.h"

namespace sim {

std::string StateToJson(const State& state);

// Parses and validates; on any fault returns false with a one-line reason.
bool StateFromJson(const std::string& text, State* state, std::string* error);

}  // namespace sim
