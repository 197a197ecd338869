// The call trace: one line per entry-point call,
//   TIME PID CALL = RESULT[ (injected)][ (delayed MS ms)][ # WHY]
// TIME is UTC, ISO 8601 with microseconds; PID the calling process; CALL in
// the call notation (callrecord/call_notation.h), with the outputs told once
// a call that was carried out succeeded.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

#include "callrecord/call_notation.h"

namespace sim {

// How one call went, as the trace tells it.
struct CallOutcome {
  int32_t result = 0;
  bool carriedOut = false;  // the library ran the call (no fault, no refused knob)
  bool injected = false;    // the result came from BRIDGESIM_FAULT
  int delayMs = -1;         // BRIDGESIM_DELAY, -1 when not delayed
  std::string why;          // why the library refused the call
};

// "TIME PID " for the current moment and process.
std::string TracePrefix();

// " = RESULT", the marks and the reason, and the line end.
std::string TraceEnd(const CallOutcome& outcome);

template <typename... A>
std::string TraceLine(const char* name, const std::tuple<A...>& args, const CallOutcome& outcome) {
  const bool received = outcome.carriedOut && outcome.result != 0;
  return TracePrefix() + callrecord::CallText(name, args, received) + TraceEnd(outcome);
}

// Appends the line to the file named by BRIDGESIM_TRACE, if set. Never throws.
void AppendTrace(const std::string& line) noexcept;

}  // namespace sim
