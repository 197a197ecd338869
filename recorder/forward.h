// One recorded call: forwarded unchanged to the real library, then appended
// to the session with what went in, what came out and the result.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "recorder/recording.h"
#include "sdk/entry_call.h"
#include "sim/session_format.h"

namespace recorder {

// A call the real library cannot answer returns 0; the device list then
// lists no device. Other outputs are left as the caller gave them.
inline void Unanswered(char**, int32_t* deviceCount) {
  if (deviceCount != nullptr) *deviceCount = 0;
}
template <typename... A>
void Unanswered(A...) {}

template <typename Fn, typename... A>
int32_t Forward(EntryIndex index, const char* name, const std::tuple<A...>& args) noexcept {
  // The real library first: its loading writes the run line.
  const Proc proc = RealEntries()[index];
  std::string time;
  std::vector<std::string> inputs;
  bool recording = true;
  try {
    time = TimeOfDay();
    inputs = std::apply([](A... arg) { return sim::SessionInputs(arg...); }, args);
  } catch (...) {
    recording = false;
  }

  Fn fn = nullptr;
  static_assert(sizeof fn == sizeof proc, "entry-point pointers differ in size");
  std::memcpy(&fn, &proc, sizeof fn);
  int32_t result = 0;
  if (fn != nullptr) {
    result = std::apply([fn](A... arg) { return CallEntry(fn, arg...); }, args);
  } else {
    std::apply([](A... arg) { Unanswered(arg...); }, args);
  }

  if (recording) {
    try {
      const std::vector<std::string> outputs =
          std::apply([name](A... arg) { return sim::SessionOutputs(name, arg...); }, args);
      AppendToSession(sim::SessionCallLine(time, name, inputs, outputs, result));
    } catch (...) {
    }
  }
  return result;
}

}  // namespace recorder
