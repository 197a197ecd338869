#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "platform/arguments.h"
#include "platform/windows_path.h"

namespace platform {

std::vector<std::string> Utf8Arguments(const char* const* argv) {
  std::vector<std::string> arguments;
  for (const char* const* at = argv; at != nullptr && *at != nullptr; ++at) {
    arguments.emplace_back(*at);
  }
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  // Only the same count guarantees that each element stands where argv's does.
  if (wide != nullptr && count == static_cast<int>(arguments.size())) {
    for (int i = 0; i < count; ++i) arguments[i] = Utf8Text(wide[i]);
  }
  LocalFree(wide);
  return arguments;
}

}  // namespace platform
