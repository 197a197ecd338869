#include "sdk/api_table.h"

#include <cstring>

namespace sdk {

ApiEntryTable ApiTable;

const void* EntryRefusals::first = nullptr;
const void* const EntryRefusals::exempt = &ApiTable.QZ_IsQZT7Series;

namespace {

// Each entry point's name, field and function-pointer slot, in the list's
// order: binding and naming a refusal walk one table instead of 86 copies of
// the same code.
struct EntryName {
  const char* name;
  const void* entry;
  void* address;
};

#define QZ_CHECK_SLOT(name, params, args)                        \
  static_assert(sizeof ApiTable.name.address == sizeof(FARPROC), \
                "entry-point pointers differ in size");
QZ_API_ENTRIES(QZ_CHECK_SLOT)
#undef QZ_CHECK_SLOT

const EntryName kEntryNames[] = {
#define QZ_ENTRY_NAME(name, params, args) {#name, &ApiTable.name, &ApiTable.name.address},
    QZ_API_ENTRIES(QZ_ENTRY_NAME)
#undef QZ_ENTRY_NAME
};

}  // namespace

HMODULE LoadApiEntries() {
  HMODULE module = GetModuleHandleA(kLibraryModuleName);
  if (module == nullptr) module = LoadLibraryFromTrustedFolders(kLibraryFileName);
  if (module == nullptr) return nullptr;
  for (const EntryName& entry : kEntryNames) {
    FARPROC proc = GetProcAddress(module, entry.name);
    if (proc == nullptr) {
      // A table half bound to a released module would point into nothing.
      FreeLibrary(module);
      ApiTable = ApiEntryTable();
      return nullptr;
    }
    std::memcpy(entry.address, &proc, sizeof proc);
  }
  return module;
}

RefusalWatch::RefusalWatch() { EntryRefusals::first = nullptr; }

const char* RefusalWatch::FirstRefused() const {
  for (const EntryName& entry : kEntryNames) {
    if (EntryRefusals::first == entry.entry) return entry.name;
  }
  return nullptr;
}

}  // namespace sdk
