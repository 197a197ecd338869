#include <windows.h>

#include "platform/process.h"
#include "platform/windows_path.h"

namespace platform {

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void KeepRunningWithoutReader() {}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

std::string ProcessCommandLine(std::size_t limit, bool* cut) {
  const wchar_t* line = GetCommandLineW();
  std::string text = line == nullptr ? "" : Utf8Text(line);
  *cut = text.size() > limit;
  if (*cut) text.resize(limit);
  return text;
}

std::string HostName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string EnvironmentText(const char* name, bool* present) {
  const std::wstring wideName = WindowsPath(name);
  // Any value set needs room for its terminator: 0 means not set.
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (present != nullptr) *present = size > 0;
  std::wstring value(size, L'\0');
  const DWORD length = size > 1 ? GetEnvironmentVariableW(wideName.c_str(), &value[0], size) : 0;
  value.resize(length < size ? length : 0);
  return Utf8Text(value);
}

}  // namespace platform
