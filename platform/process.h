// What a process asks of its system besides files: its id, the host's name,
// the clock, its environment, a pause. One implementation per system (process_posix.cpp,
// process_windows.cpp), the portable rest in process.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

void SleepMilliseconds(int milliseconds);

// Output that nobody reads any more (a pipe closed by its reader) then fails
// like any write, instead of ending the process: the rest of what it prints
// is dropped and the run goes on to its end. Windows does so already.
void KeepRunningWithoutReader();
uint32_t CurrentProcessId();

// The command line this process was started with, as the system keeps it for
// any library in the process: on Linux its arguments with a NUL between them
// (/proc/self/cmdline), on Windows one text (GetCommandLineW, as UTF-8). At
// most `limit` bytes of it; `cut` says there was more. Empty when the system
// tells none.
std::string ProcessCommandLine(std::size_t limit, bool* cut);

// The computer's name; empty when the system does not tell it.
std::string HostName();

// The current time in UTC, ISO 8601 with `decimals` (0 to 6) digits of the
// second: 2024-05-01T09:30:00.123456Z, or 2024-05-01T09:30:00Z with none.
std::string CurrentTimeText(int decimals = 6);

// The environment variable's value (UTF-8 on Windows, as paths are); empty
// and `present` false when it is not set.
std::string EnvironmentText(const char* name, bool* present = nullptr);

}  // namespace platform
