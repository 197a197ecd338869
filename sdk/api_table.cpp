#include "sdk/api_table.h"

#include <cstring>

ApiEntryTable ApiTable;

namespace {

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& field) {
  FARPROC proc = GetProcAddress(module, name);
  if (proc == nullptr) return false;
  static_assert(sizeof field == sizeof proc, "entry-point pointers differ in size");
  std::memcpy(&field, &proc, sizeof field);
  return true;
}

}  // namespace

HMODULE LoadApiEntries() {
  HMODULE module = GetModuleHandleA(kLibraryModuleName);
  if (module == nullptr) {
    // The tool runs elevated: never let a library planted in the current
    // directory be picked up by the search.
    SetDllDirectoryA("");
    module = LoadLibraryA(kLibraryFileName);
  }
  if (module == nullptr) return nullptr;

#define QZ_BIND_ENTRY(name, params, args)    \
  if (!Bind(module, #name, ApiTable.name)) { \
    FreeLibrary(module);                     \
    return nullptr;                          \
  }
  QZ_API_ENTRIES(QZ_BIND_ENTRY)
#undef QZ_BIND_ENTRY
  return module;
}
