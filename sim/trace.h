// The call trace: one line per entry-point call,
//   TIME PID NAME(ARG, ...) = RESULT[ (injected)][ (delayed MS ms)][ # WHY]
// TIME is UTC, ISO 8601 with microseconds; PID the calling process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

namespace sim {

// How one call went, as the trace tells it.
struct CallOutcome {
  int32_t result = 0;
  bool carriedOut = false;  // the library ran the call (no fault, no refused knob)
  bool injected = false;    // the result came from BRIDGESIM_FAULT
  int delayMs = -1;         // BRIDGESIM_DELAY, -1 when not delayed
  std::string why;          // why the library refused the call
};

// Text in double quotes; backslash, quote and non-printable bytes escaped.
std::string QuoteText(const char* text);

// A text the library wrote, read no further than the caller's buffer reaches
// (capacity bytes), even when it was not terminated.
std::string BoundedText(const char* text, std::size_t capacity);

// Arguments by type: input text quoted, numbers in decimal. A destination the
// library writes into is `out`, followed by `=VALUE` once a successful call
// has written it (ids in hex); the device-path array is `list`, shown with
// the paths written.
std::string TraceArg(const char* text, bool received);
std::string TraceArg(char* text, bool received);
std::string TraceArg(uint16_t* id, bool received);
std::string TraceArg(int32_t* value, bool received);
std::string TraceArg(int32_t value, bool received);
template <typename T>
std::string TraceArg(T, bool) = delete;  // a new parameter type needs its own form

template <typename... A>
std::string TraceArgs(const std::tuple<A...>& args, bool received) {
  std::string text;
  std::apply(
      [&](const auto&... arg) {
        ((text += text.empty() ? "" : ", ", text += TraceArg(arg, received)), ...);
      },
      args);
  return text;
}
// The device list: the paths as far as the count written.
std::string TraceArgs(const std::tuple<char**, int32_t*>& args, bool received);

// "TIME PID " for the current moment and process.
std::string TracePrefix();

std::string TraceEnd(const CallOutcome& outcome);

// NAME(ARG, ...): the call as the trace, a replay and the test fake show it.
template <typename... A>
std::string TraceCall(const char* name, const std::tuple<A...>& args, bool received) {
  return name + ("(" + TraceArgs(args, received) + ")");
}

template <typename... A>
std::string TraceLine(const char* name, const std::tuple<A...>& args, const CallOutcome& outcome) {
  const bool received = outcome.carriedOut && outcome.result != 0;
  return TracePrefix() + TraceCall(name, args, received) + TraceEnd(outcome);
}

// Appends the line to the file named by BRIDGESIM_TRACE, if set. Never throws.
void AppendTrace(const std::string& line) noexcept;

}  // namespace sim
