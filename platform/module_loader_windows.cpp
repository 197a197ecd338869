// The narrow library search on Windows, and loading a library by its path.
#include <cstdio>

#include "platform/module_loader.h"

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
  HMODULE module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
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
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  if (n == 0 || n >= sizeof path) return false;
  int length = static_cast<int>(n);
  while (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/') --length;
  if (length == 0) return false;
  const int written = std::snprintf(out, outSize, "%.*s", length, path);
  if (written == length && static_cast<unsigned long>(written) < outSize) return true;
  out[0] = '\0';
  return false;
}
