// Replay: with BRIDGESIM_REPLAY=FILE (or FILE#N for the N-th run in it) the
// library answers from a recorded session instead of the emulated bridge.
// Each call must match the next recorded one (entry point and every argument
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

#include "sim/session.h"
#include "sim/session_format.h"
#include "sim/trace.h"

namespace sim {

constexpr const char* kReplayVariable = "BRIDGESIM_REPLAY";

// Whether an argument agrees with its recorded value (an output with its kind).
bool ReplayMatches(const char* text, const SessionValue& recorded);
bool ReplayMatches(int32_t value, const SessionValue& recorded);
bool ReplayMatches(char* text, const SessionValue& recorded);
bool ReplayMatches(uint16_t* id, const SessionValue& recorded);
bool ReplayMatches(int32_t* value, const SessionValue& recorded);
bool ReplayMatches(char** list, const SessionValue& recorded);
template <typename T>
bool ReplayMatches(T, const SessionValue&) = delete;

// Writes a recorded output of entry `name`; inputs are left alone.
inline void ReplayWrite(const char*, const SessionValue&, const char*) {}
inline void ReplayWrite(int32_t, const SessionValue&, const char*) {}
void ReplayWrite(char* text, const SessionValue& recorded, const char* name);
void ReplayWrite(uint16_t* id, const SessionValue& recorded, const char* name);
void ReplayWrite(int32_t* value, const SessionValue& recorded, const char* name);
void ReplayWrite(char** list, const SessionValue& recorded, const char* name);

// True when BRIDGESIM_REPLAY is set (the session is read at the first call).
bool Replaying();
// The recorded call the next call must match; null once the run has strayed
// or the recording has no more calls.
const SessionCall* ReplayExpected();
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
    const SessionCall* expected = ReplayExpected();
    const bool same = expected != nullptr && expected->name == name &&
                      expected->args.size() == sizeof...(A) &&
                      std::apply(
                          [expected](const auto&... arg) {
                            std::size_t i = 0;
                            (void)i;
                            return (ReplayMatches(arg, expected->args[i++]) && ... && true);
                          },
                          args);
    if (same) {
      std::apply(
          [expected, name](const auto&... arg) {
            std::size_t i = 0;
            (void)i;
            (ReplayWrite(arg, expected->args[i++], name), ...);
          },
          args);
      result = expected->result;
      ReplayMatched();
    } else {
      ReplayStrayed(TraceCall(name, args, false));
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
