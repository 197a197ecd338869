#include <windows.h>

#include "platform/process.h"

namespace platform {

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void KeepRunningWithoutReader() {}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

}  // namespace platform
