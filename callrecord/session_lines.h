// A session: the calls a tool run made to the firmware-update library, as the
// recorder writes them and replay reads them back. Plain text, one line each:
//
//   run 2025-03-04T09:15:02.117Z pid 4242 library "C:\\line\\QZFWUpdateDll.real.dll"
//   09:15:02.118 QZ_GetDeviceList(list=["usb#0001"], out=1) = 1
//   09:15:02.131 QZ_GetT7VIDbySCSICmd("usb#0001", out=0x3A5C) = 1
//   09:15:02.140 QZ_SetVIDValue("usb#0001", "12AB") = 1
//
// A `run` line opens each run of the tool: start time (UTC), process id, the
// real library's path, and `not loaded` or `lacking NAME ...` when the
// recorder could not reach all of it. A call line holds the time stamp (UTC)
// and the call in the call notation (callrecord/call_notation.h) with every
// output told, whether the call succeeded or not. Blank lines and lines
// starting with # are notes.
#pragma once

#include <cstdint>
#include <string>

#include "callrecord/call_notation.h"

namespace callrecord {

// The line that opens a run. `problem`: empty, "not loaded" or "lacking ...".
std::string SessionRunLine(const std::string& time, long processId, const std::string& library,
                           const std::string& problem);

// The line for a call, `call` as CallText gives it with its outputs told.
std::string SessionCallLine(const std::string& time, const std::string& call, int32_t result);

enum class SessionLine { kNote, kRun, kCall, kBad };

// Reads one line (without its line end; a trailing CR is ignored). For kCall
// fills `call`; for kBad says what is wrong in `error`.
SessionLine ParseSessionLine(const std::string& line, RecordedCall* call, std::string* error);

}  // namespace callrecord
