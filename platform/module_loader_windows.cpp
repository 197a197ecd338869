// The narrow library search on Windows, and loading a library by its path
// (UTF-8, as every path of the project).
#include <cstdio>
#include <string>

#include "platform/module_loader.h"
#include "platform/windows_path.h"

HMODULE LoadLibraryFromTrustedFolders(LPCSTR fileName) {
  HMODULE module = LoadLibraryExA(
      fileName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Windows 7 without its loader update rejects those flags: the ordinary
  // search, without the current directory, is the best it offers.
  SetDllDirectoryA("");
  return LoadLibraryA(fileName);
}

HMODULE LoadLibraryAtPath(LPCSTR path) {
  // No error boxes; and the library's own dependencies are looked for in its
  // folder, as when it lies beside the tool under its own name.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module =
      LoadLibraryExW(platform::WindowsPath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(previous);
  return module;
}

bool ModuleFolder(const void* address, char* out, unsigned long outSize) {
  if (outSize == 0) return false;
  out[0] = '\0';
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module)) {
    return false;
  }
  std::wstring wide(32768, L'\0');
  const DWORD n = GetModuleFileNameW(module, &wide[0], static_cast<DWORD>(wide.size()));
  if (n == 0 || n >= wide.size()) return false;
  wide.resize(n);
  const std::string path = platform::Utf8Text(wide);
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return false;
  const int length = static_cast<int>(separator + 1);
  const int written = std::snprintf(out, outSize, "%.*s", length, path.c_str());
  if (written == length && static_cast<unsigned long>(written) < outSize) return true;
  out[0] = '\0';
  return false;
}
