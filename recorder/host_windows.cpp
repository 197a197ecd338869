#include <windows.h>

#include <cstring>

#include "recorder/host.h"

namespace recorder {

const char* const kRealLibraryFileName = "QZFWUpdateDll.real.dll";

std::string OwnFolder() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&OwnFolder), &self)) {
    return {};
  }
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(self, path, sizeof path);
  if (n == 0 || n >= sizeof path) return {};
  const std::string text(path, n);
  const std::size_t separator = text.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : text.substr(0, separator + 1);
}

void* LoadRealLibrary(const std::string& path) {
  // No error boxes; and the real library's own dependencies are looked for
  // in its folder, as when it lies beside the tool under its own name.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(previous);
  return reinterpret_cast<void*>(module);
}

Proc RealExport(void* library, const char* name) {
  FARPROC proc = GetProcAddress(static_cast<HMODULE>(library), name);
  Proc entry = nullptr;
  static_assert(sizeof proc == sizeof entry, "procedure pointers differ in size");
  std::memcpy(&entry, &proc, sizeof entry);
  return entry;
}

}  // namespace recorder
