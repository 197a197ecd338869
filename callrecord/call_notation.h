// The call notation: how one call to the firmware-update library, its
// arguments and what the library left in its outputs are written and read
// back. The trace, recorded sessions, replay and the test fake all use it.
//
//   NAME(ARG, ...) = RESULT
//
// An argument going in is a text in double quotes (backslash, quote and bytes
// outside printable ASCII escaped as \\, \" and \xHH), `null`, or a decimal
// number. An output is `out` while what the library left there is not told,
// else `out=VALUE` (a text, a 16-bit id in hex such as 0x3A5C, or a decimal
// number), or `null` for a null pointer. The device-path array is `list`, or
// `list=[TEXT, ...]` with the paths as far as the count written.
//
// Each parameter type has its three functions here, and a new type needs all
// three: ArgText (its text), Agrees (whether it agrees with a value read back)
// and WriteOutput (a value left in it as the library leaves it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace callrecord {

// Text in double quotes, escaped as above; `null` for a null pointer.
std::string QuoteText(const char* text);

// A text the library wrote, read no further than the caller's buffer reaches
// (capacity bytes), even when it was not terminated.
std::string BoundedText(const char* text, std::size_t capacity);

// The size of the caller's buffer for entry `name`'s text output.
std::size_t TextOutputCapacity(const char* name);

// One argument as read back.
struct CallValue {
  enum class Kind { kNull, kText, kNumber, kList };
  Kind kind = Kind::kNull;
  bool out = false;  // an output's value
  std::string text;
  int64_t number = 0;
  std::vector<std::string> list;
};

// One call as read back.
struct RecordedCall {
  std::string name;
  std::vector<CallValue> args;
  int32_t result = 0;
  std::string written;  // the call as written
};

// `name` is the entry point called; `told` says whether the outputs show what
// the library left there.
std::string ArgText(const char* text, const char* name, bool told);
bool Agrees(const char* text, const CallValue& value);
inline void WriteOutput(const char*, const CallValue&, const char*) {}

std::string ArgText(int32_t value, const char* name, bool told);
bool Agrees(int32_t value, const CallValue& recorded);
inline void WriteOutput(int32_t, const CallValue&, const char*) {}

std::string ArgText(char* text, const char* name, bool told);
bool Agrees(char* text, const CallValue& value);
void WriteOutput(char* text, const CallValue& value, const char* name);

std::string ArgText(uint16_t* id, const char* name, bool told);
bool Agrees(uint16_t* id, const CallValue& value);
void WriteOutput(uint16_t* id, const CallValue& value, const char* name);

std::string ArgText(int32_t* number, const char* name, bool told);
bool Agrees(int32_t* number, const CallValue& value);
void WriteOutput(int32_t* number, const CallValue& value, const char* name);

// The device-path array is told with its count (ArgsText below).
bool Agrees(char** list, const CallValue& value);
void WriteOutput(char** list, const CallValue& value, const char* name);

template <typename T>
std::string ArgText(T, const char*, bool) = delete;
template <typename T>
bool Agrees(T, const CallValue&) = delete;
template <typename T>
void WriteOutput(T, const CallValue&, const char*) = delete;

// The device list: the paths as far as the count written, then the count.
std::string ArgsText(const char* name, const std::tuple<char**, int32_t*>& args, bool told);

template <typename... A>
std::string ArgsText(const char* name, const std::tuple<A...>& args, bool told) {
  std::string text;
  std::apply(
      [&](const auto&... arg) {
        ((text += text.empty() ? "" : ", ", text += ArgText(arg, name, told)), ...);
      },
      args);
  return text;
}

// NAME(ARG, ...)
template <typename... A>
std::string CallText(const char* name, const std::tuple<A...>& args, bool told) {
  return name + ("(" + ArgsText(name, args, told) + ")");
}

// " = RESULT", what follows the call.
std::string ResultText(int32_t result);

// Whether a call of `name` with `args` is the recorded one: the same entry
// point, every input the same and every output of its kind.
template <typename... A>
bool CallAgrees(const RecordedCall& recorded, const char* name, const std::tuple<A...>& args) {
  if (recorded.name != name || recorded.args.size() != sizeof...(A)) return false;
  std::size_t i = 0;
  (void)i;  // no arguments to count
  return std::apply(
      [&](const auto&... arg) { return (Agrees(arg, recorded.args[i++]) && ... && true); }, args);
}

// Leaves `values` (one per argument) in the outputs among `args`.
template <typename... A>
void WriteOutputs(const std::tuple<A...>& args, const std::vector<CallValue>& values,
                  const char* name) {
  if (values.size() != sizeof...(A)) return;
  std::size_t i = 0;
  (void)i;
  std::apply([&](const auto&... arg) { (WriteOutput(arg, values[i++], name), ...); }, args);
}

// Reads NAME(ARG, ...) = RESULT and nothing after it; on a fault says what is
// wrong in `error`.
bool ParseCall(const std::string& text, RecordedCall* call, std::string* error);

}  // namespace callrecord
