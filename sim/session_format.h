// A session: the calls a tool run made to the firmware-update library, as the
// recorder writes them and replay reads them back. Plain text, one line each:
//
//   run 2025-03-04T09:15:02.117Z pid 4242 library "C:\\line\\QZFWUpdateDll.real.dll"
//   09:15:02.118 QZ_GetDeviceList(out ["usb#0001"], out 1) = 1
//   09:15:02.131 QZ_GetT7VIDbySCSICmd("usb#0001", out 0x3A5C) = 1
//   09:15:02.140 QZ_SetVIDValue("usb#0001", "12AB") = 1
//
// A `run` line opens each run of the tool: start time (UTC), process id, the
// real library's path, and `not loaded` or `lacking NAME ...` when the
// recorder could not reach all of it. A call line holds the time stamp (UTC),
// the entry point, every argument in order and the result. An argument going
// in is a text in double quotes (backslash, quote and bytes outside printable
// ASCII escaped as \\, \" and \xHH), `null`, or a decimal number. An output
// is `out` and what the library left there: a text, a 16-bit id in hex
// (0x3A5C), a decimal number, or the device list as [text, ...] up to the
// first empty path. A null output pointer is `null`. Blank lines and lines
// starting with # are notes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/trace.h"

namespace sim {

// The device list's shape in the library contract: 16 buffers of 256 bytes.
constexpr int kSessionListEntries = 16;
constexpr std::size_t kSessionPathSize = 256;

// The size of the caller's buffer for entry `name`'s text output.
std::size_t TextOutputCapacity(const char* name);

// Arguments going in; outputs give the empty text (filled after the call).
inline std::string SessionInput(const char* text) { return QuoteText(text); }
inline std::string SessionInput(int32_t value) { return std::to_string(value); }
inline std::string SessionInput(char*) { return {}; }
inline std::string SessionInput(uint16_t*) { return {}; }
inline std::string SessionInput(int32_t*) { return {}; }
inline std::string SessionInput(char**) { return {}; }
template <typename T>
std::string SessionInput(T) = delete;  // a new parameter type needs its own form

// What the library left in an output of entry `name`; inputs give the empty text.
std::string SessionOutput(const char*, const char*);
std::string SessionOutput(int32_t, const char*);
std::string SessionOutput(char* text, const char* name);
std::string SessionOutput(uint16_t* id, const char* name);
std::string SessionOutput(int32_t* value, const char* name);
std::string SessionOutput(char** list, const char* name);
template <typename T>
std::string SessionOutput(T, const char*) = delete;

// The line for a call: `inputs` taken before it, the outputs now.
std::string SessionCallLine(const std::string& time, const char* name,
                            const std::vector<std::string>& inputs,
                            const std::vector<std::string>& outputs, int32_t result);

template <typename... A>
std::vector<std::string> SessionInputs(A... args) {
  return {SessionInput(args)...};
}
template <typename... A>
std::vector<std::string> SessionOutputs(const char* name, A... args) {
  (void)name;  // no outputs to name
  return {SessionOutput(args, name)...};
}

// The line that opens a run. `problem`: empty, "not loaded" or "lacking ...".
std::string SessionRunLine(const std::string& time, long processId, const std::string& library,
                           const std::string& problem);

// One argument as read back.
struct SessionValue {
  enum class Kind { kNull, kText, kNumber, kList };
  Kind kind = Kind::kNull;
  bool out = false;
  std::string text;
  int64_t number = 0;
  std::vector<std::string> list;
};

struct SessionCall {
  std::string name;
  std::vector<SessionValue> args;
  int32_t result = 0;
  std::string written;  // the call as written, without its time stamp
};

enum class SessionLine { kNote, kRun, kCall, kBad };

// Reads one line (without its line end; a trailing CR is ignored). For kCall
// fills `call`; for kBad says what is wrong in `error`.
SessionLine ParseSessionLine(const std::string& line, SessionCall* call, std::string* error);

}  // namespace sim
