// Replay: with BRIDGESIM_REPLAY=FILE (or FILE#N for the N-th run line in it,
// in the file's order) the library answers from a recorded session
// instead of the emulated bridge. The session, of any size, is read a line at
// a time and never held. Each call must match the next recorded one (entry point and every argument
// going in); it then returns the recorded result and writes the recorded
// outputs. The first call that differs, and every call after it, returns 0
// and writes nothing; the trace tells where and how the run strayed, and
// also when a run ends before the recording did.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "callrecord/call_notation.h"
#include "sim/library/session.h"
#include "sim/library/trace.h"

namespace sim {

constexpr const char* kReplayVariable = "BRIDGESIM_REPLAY";

// True when BRIDGESIM_REPLAY is set and not blank (the session is read at the first call).
bool Replaying();
// The recorded call the next call must match (read from the session when
// first asked for); null once the run has strayed or the recording has no
// more calls.
const callrecord::RecordedCall* ReplayExpected();
// The call matched: move on to the next recorded one.
void ReplayMatched();
// The call `made` did not match: the first time, the trace says where and how
// it strayed; from then on every call fails.
void ReplayStrayed(const std::string& made);

// The call's result from the session, or nothing when not replaying.
template <typename... A>
std::optional<int32_t> Replayed(const char* name, const std::tuple<A...>& args) noexcept {
  bool replaying = false;
  try {
    replaying = Replaying();
  } catch (...) {
  }
  if (!replaying) return std::nullopt;
  int32_t result = 0;
  try {
    std::lock_guard<std::recursive_mutex> guard(EntryMutex());
    const callrecord::RecordedCall* expected = ReplayExpected();
    if (expected != nullptr && callrecord::CallAgrees(*expected, name, args)) {
      callrecord::WriteOutputs(args, expected->args, name);
      result = expected->result;
      ReplayMatched();
    } else {
      ReplayStrayed(callrecord::CallText(name, args, false));
    }
    CallOutcome outcome;
    outcome.result = result;
    outcome.carriedOut = true;
    AppendTrace(TraceLine(name, args, outcome));
  } catch (...) {
  }
  return result;
}

}  // namespace sim
