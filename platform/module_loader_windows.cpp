// The narrow library search on Windows.
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
