#include "sdk/api_table.h"

#include <cstring>

namespace sdk {

ApiEntryTable ApiTable;

const void* EntryRefusals::first = nullptr;
const void* const EntryRefusals::exempt = &ApiTable.QZ_IsQZT7Series;

namespace {

template <typename Fn>
bool Bind(HMODULE module, const char* name, EntryPoint<Fn>& field) {
  FARPROC proc = GetProcAddress(module, name);
  if (proc == nullptr) return false;
  static_assert(sizeof field.address == sizeof proc, "entry-point pointers differ in size");
  std::memcpy(&field.address, &proc, sizeof field.address);
  return true;
}

}  // namespace

HMODULE LoadApiEntries() {
  HMODULE module = GetModuleHandleA(kLibraryModuleName);
  if (module == nullptr) module = LoadLibraryFromTrustedFolders(kLibraryFileName);
  if (module == nullptr) return nullptr;

    // A table half bound to a released module would point into nothing.
#define QZ_BIND_ENTRY(name, params, args)    \
  if (!Bind(module, #name, ApiTable.name)) { \
    FreeLibrary(module);                     \
    ApiTable = ApiEntryTable();              \
    return nullptr;                          \
  }
  QZ_API_ENTRIES(QZ_BIND_ENTRY)
#undef QZ_BIND_ENTRY
  return module;
}

RefusalWatch::RefusalWatch() { EntryRefusals::first = nullptr; }

const char* RefusalWatch::FirstRefused() const {
#define QZ_REFUSED_NAME(name, params, args) \
  if (EntryRefusals::first == &ApiTable.name) return #name;
  QZ_API_ENTRIES(QZ_REFUSED_NAME)
#undef QZ_REFUSED_NAME
  return nullptr;
}

}  // namespace sdk
