// A session: the calls tool runs made to the firmware-update library, as the
// recorder writes them and replay reads them back. Plain text, one line each:
//
//   2025-03-04T09:15:02.117Z 4242-20250304091502117345 run command "bridgefw.exe -gvd"
//     library "C:\\line\\QZFWUpdateDll.real.dll"
//   09:15:02.118 4242-20250304091502117345 QZ_GetDeviceList(list=["usb#0001"], out=1) = 1
//   09:15:02.131 4242-20250304091502117345 QZ_GetT7VIDbySCSICmd("usb#0001", out=0x3A5C) = 1
//
//   (the run line is one line)
//
// Every line starts with its time (UTC) and the id of its run: the process id,
// a dash and the digits of the run's start time. Runs that record into one
// file at once thus stay apart, however their lines mix. A `run` line opens
// each run, above its calls: `command` and the recorded process's command
// line (each argument a text on Linux, one text on Windows, `...` after it
// when cut), then `library`, the real library's path, and `not loaded`, `is a
// recorder` or `lacking NAME ...` when the recorder could not use all of it.
// Run lines stand in the order they were written: for runs recorded at once,
// not always the order of the start times they show. A call line holds the
// call in the call notation (callrecord/call_notation.h) with every output
// told, whether the call succeeded or not. Blank lines and lines starting
// with # are notes.
//
// Sessions recorded before runs had ids have `run TIME pid PID library ...`
// lines and call lines of a time and the call; such a call belongs to the
// run line above it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "callrecord/call_notation.h"

namespace callrecord {

// The run's id, from its process and its start time as the clock gives it.
std::string SessionRunId(long processId, const std::string& startTime);

// How much of the recorded process's command line a run line tells.
constexpr std::size_t kMaxRunCommandLine = 4096;

// The line that opens a run. `command`: the process's command line as the
// system keeps it (NUL between arguments on Linux), `cut` when longer than
// kMaxRunCommandLine; `problem`: empty, "not loaded", "is a recorder" or
// "lacking ...".
std::string SessionRunLine(const std::string& time, const std::string& run,
                           const std::string& command, bool cut, const std::string& library,
                           const std::string& problem);

// The line for a call, `call` as CallText gives it with its outputs told.
std::string SessionCallLine(const std::string& time, const std::string& run,
                            const std::string& call, int32_t result);

enum class SessionLine { kNote, kRun, kCall, kBad };

// What a line that is no note, run or call lacks.
constexpr const char* kSessionLineForm =
    "a line needs a time stamp and a run id, then run or NAME(ARGUMENTS) = RESULT";

// One line (without its line end; a trailing CR is ignored) taken apart, but
// its call not yet read (ParseCall does that): its run's id where it names
// one (not in the older form), and a call's text.
struct SessionLineParts {
  SessionLine kind = SessionLine::kNote;
  std::string_view run;
  std::string_view call;
};
SessionLineParts SplitSessionLine(std::string_view line);

// The longest line a session holds; a longer one cannot be read.
constexpr std::size_t kMaxSessionLine = 65536;

// Reads a session one line at a time, holding no more than a line and a
// piece of the file, whatever the file's size.
class SessionReader {
 public:
  explicit SessionReader(std::FILE* file);  // not owned

  // The next line without its line end, valid until the next call; false at
  // the end of the file or on a read error. A line longer than
  // kMaxSessionLine comes cut to that length, and tooLong() says so.
  bool Next(std::string_view* line);
  bool tooLong() const { return tooLong_; }
  bool failed() const { return std::ferror(file_) != 0; }
  uint64_t lineNumber() const { return lineNumber_; }  // of the line last given
  uint64_t offset() const { return offset_; }          // where the next line starts

  // Back to a place that offset() and lineNumber() told.
  bool Return(uint64_t offset, uint64_t lineNumber);

 private:
  bool Fill();

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool skipping_ = false;  // the rest of a line that was too long
  bool tooLong_ = false;
  uint64_t lineNumber_ = 0;
  uint64_t offset_ = 0;
};

}  // namespace callrecord
