#include <windows.h>

#include "platform/process.h"

namespace platform {

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void KeepRunningWithoutReader() {}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

std::string ProcessCommandLine(std::size_t limit, bool* cut) {
  const char* line = GetCommandLineA();
  std::string text = line == nullptr ? "" : line;
  *cut = text.size() > limit;
  if (*cut) text.resize(limit);
  return text;
}

std::string HostName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

}  // namespace platform
