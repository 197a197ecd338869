// One recorded call: forwarded unchanged to the real library, then appended
// to the session with what went in, what came out and the result.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>

#include "callrecord/call_notation.h"
#include "callrecord/session_lines.h"
#include "recorder/recording.h"
#include "sdk/entry_call.h"

namespace recorder {

// A call the real library cannot answer returns 0; the device list then
// lists no device. Other outputs are left as the caller gave them.
inline void Unanswered(char**, int32_t* deviceCount) {
  if (deviceCount != nullptr) *deviceCount = 0;
}
template <typename... A>
void Unanswered(A...) {}

// An argument as it went in: a text going in is copied before the call, so
// the session shows it even if the library changed it; anything else (a
// number, an output's address) is kept as it is.
template <typename T>
struct AsGivenIn {
  explicit AsGivenIn(T given) : value(given) {}
  T Get() const { return value; }
  T value;
};
template <>
struct AsGivenIn<const char*> {
  explicit AsGivenIn(const char* given) : null(given == nullptr), text(null ? "" : given) {}
  const char* Get() const { return null ? nullptr : text.c_str(); }
  bool null;
  std::string text;
};

template <typename Fn, typename... A>
int32_t Forward(EntryIndex index, const char* name, const std::tuple<A...>& args) noexcept {
  // The real library first: its loading writes the run line.
  const Run& run = ThisRun();
  const FARPROC proc = run.entries[index];
  std::string time;
  std::optional<std::tuple<AsGivenIn<A>...>> givenIn;
  try {
    time = TimeOfDay();
    givenIn.emplace(
        std::apply([](A... arg) { return std::make_tuple(AsGivenIn<A>(arg)...); }, args));
  } catch (...) {
    givenIn.reset();
  }

  Fn fn = nullptr;
  static_assert(sizeof fn == sizeof proc, "entry-point pointers differ in size");
  std::memcpy(&fn, &proc, sizeof fn);
  int32_t result = 0;
  if (fn != nullptr) {
    result = std::apply([fn](A... arg) { return sdk::CallEntry(fn, arg...); }, args);
  } else {
    std::apply([](A... arg) { Unanswered(arg...); }, args);
  }

  if (givenIn) {
    try {
      const std::tuple<A...> asCalled = std::apply(
          [](const AsGivenIn<A>&... arg) { return std::make_tuple(arg.Get()...); }, *givenIn);
      AppendToSession(callrecord::SessionCallLine(
          time, run.id, callrecord::CallText(name, asCalled, true), result));
    } catch (...) {
    }
  }
  return result;
}

}  // namespace recorder
