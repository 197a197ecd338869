// Runs one entry point behind the test knobs: counts the call, applies a
// BRIDGESIM_FAULT rule instead of the call, turns any exception into 0, and
// traces the call with its result.
#pragma once

#include <cstdint>
#include <mutex>
#include <tuple>

#include "sim/env.h"
#include "sim/fault.h"
#include "sim/replay.h"
#include "sim/session.h"
#include "sim/trace.h"

namespace sim {

template <typename... A, typename Body>
int32_t Dispatch(const char* name, const std::tuple<A...>& args, Body&& body) noexcept {
  if (std::optional<int32_t> replayed = Replayed(name, args)) return *replayed;
  int32_t result = 0;
  try {
    std::lock_guard<std::recursive_mutex> guard(EntryMutex());
    int call = ++CurrentSession().callCounts[name];
    std::optional<int32_t> fault = FaultFor(ParseFaultRules(EnvText(kFaultVariable)), name, call);
    result = fault ? *fault : body();
  } catch (...) {
    result = 0;  // a library call never throws out
  }
  try {
    AppendTrace(TraceLine(name, args, result));
  } catch (...) {
  }
  return result;
}

}  // namespace sim
