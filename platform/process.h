// What a process asks of its system besides files: its id, the host's name,
// the clock, its environment, a pause. One implementation per system (process_posix.cpp,
// process_windows.cpp), the portable rest in process.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

void SleepMilliseconds(int milliseconds);
uint32_t CurrentProcessId();

// The computer's name; empty when the system does not tell it.
std::string HostName();

// The current time in UTC, ISO 8601 with `decimals` (0 to 6) digits of the
// second: 2024-05-01T09:30:00.123456Z, or 2024-05-01T09:30:00Z with none.
std::string CurrentTimeText(int decimals = 6);

// The environment variable's value; empty and `present` false when it is not set.
std::string EnvironmentText(const char* name, bool* present = nullptr);

}  // namespace platform
