#include <windows.h>

#include "platform/process.h"

namespace platform {

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

std::string HostName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

}  // namespace platform
