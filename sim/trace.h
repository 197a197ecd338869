// The call trace: one line per entry-point call, NAME(ARG, ...) = RESULT.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

namespace sim {

// Text in double quotes; backslash, quote and non-printable bytes escaped.
std::string QuoteText(const char* text);

// Arguments by type: input text quoted, numbers in decimal, destinations the
// library writes into as `out`, the device-path array as `list`.
inline std::string TraceArg(const char* text) { return QuoteText(text); }
inline std::string TraceArg(char*) { return "out"; }
inline std::string TraceArg(uint16_t*) { return "out"; }
inline std::string TraceArg(int32_t*) { return "out"; }
inline std::string TraceArg(char**) { return "list"; }
inline std::string TraceArg(int32_t value) { return std::to_string(value); }
template <typename T>
std::string TraceArg(T) = delete;  // a new parameter type needs its own form

template <typename... A>
std::string TraceLine(const char* name, const std::tuple<A...>& args, int32_t result) {
  std::string line = name;
  line += '(';
  std::apply(
      [&line](const auto&... arg) {
        bool first = true;
        ((line += first ? "" : ", ", line += TraceArg(arg), first = false), ...);
        (void)first;
      },
      args);
  line += ") = " + std::to_string(result) + "\n";
  return line;
}

// Appends the line to the file named by BRIDGESIM_TRACE, if set. Never throws.
void AppendTrace(const std::string& line) noexcept;

}  // namespace sim
