// Runs one entry point behind the knobs (sim/library/knobs.h): counts the call,
// delays it, applies a BRIDGESIM_FAULT rule instead of the call, turns any
// exception into 0, and traces the call with its result.
#pragma once

#include <cstdint>
#include <tuple>
#include <type_traits>

#include "sim/library/replay.h"
#include "sim/library/trace.h"

namespace sim {

// The call's body behind a plain pointer, so that running it allocates nothing.
template <typename Body>
int32_t CallBody(void* body) {
  return (*static_cast<Body*>(body))();
}

// Everything but the trace line: fills `outcome`. Never throws. device: the
// call's first text argument (the device of a device call), or null.
void RunEntry(const char* name, const char* device, int32_t (*call)(void*), void* body,
              CallOutcome* outcome) noexcept;

template <typename... A>
const char* FirstText(const std::tuple<A...>& args) {
  if constexpr (sizeof...(A) > 0) {
    if constexpr (std::is_convertible_v<std::tuple_element_t<0, std::tuple<A...>>, const char*>) {
      return std::get<0>(args);
    }
  }
  return nullptr;
}

template <typename... A, typename Body>
int32_t Dispatch(const char* name, const std::tuple<A...>& args, Body&& body) noexcept {
  if (std::optional<int32_t> replayed = Replayed(name, args)) return *replayed;
  CallOutcome outcome;
  RunEntry(name, FirstText(args), &CallBody<std::remove_reference_t<Body>>, &body, &outcome);
  try {
    AppendTrace(TraceLine(name, args, outcome));
  } catch (...) {
  }
  return outcome.result;
}

}  // namespace sim
