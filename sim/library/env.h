// The simulated library's knobs and its trace are environment variables (the
// tool itself reads none); the state file's is with the state store.
#pragma once

namespace sim {

constexpr const char* kTraceVariable = "BRIDGESIM_TRACE";
constexpr const char* kFaultVariable = "BRIDGESIM_FAULT";
constexpr const char* kInterruptVariable = "BRIDGESIM_INTERRUPT";
constexpr const char* kDelayVariable = "BRIDGESIM_DELAY";
constexpr const char* kProgramTimeVariable = "BRIDGESIM_PROGRAM_MS_PER_KIB";

}  // namespace sim
