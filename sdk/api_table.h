// ApiTable: the firmware-update library's entry points, bound by name.
#pragma once

#include "platform/module_loader.h"
#include "sdk/api_entries.h"
#include "sdk/entry_call.h"

namespace sdk {

// Module base name and file name of the firmware-update library.
constexpr const char* kLibraryModuleName = "QZFWUpdateDll";
constexpr const char* kLibraryFileName = "QZFWUpdateDll.dll";

#define QZ_DECLARE_POINTER_TYPE(name, params, args) using name##_Fn = int32_t(QZ_CALL*) params;
QZ_API_ENTRIES(QZ_DECLARE_POINTER_TYPE)
#undef QZ_DECLARE_POINTER_TYPE

// Each field is called like a function (ApiTable.QZ_GetFWVersion(device, text));
// the call goes through CallEntry.
struct ApiEntryTable {
#define QZ_DECLARE_FIELD(name, params, args) EntryPoint<name##_Fn> name;
  QZ_API_ENTRIES(QZ_DECLARE_FIELD)
#undef QZ_DECLARE_FIELD
  HMODULE module = nullptr;
};

// The one process-wide table; every operation calls the library through it.
extern ApiEntryTable ApiTable;

// Obtains the library module and binds all 86 entry points into ApiTable.
// Returns the module handle, or null (module released) when the module or any
// one name is missing. Prints nothing.
HMODULE LoadApiEntries();

// Watches the library's answers while it lives (one step of a front end): the
// first entry point that answered 0 (the series query aside) names the call
// that refused, without the operations reporting it. A later refusal is a
// consequence of the first (a unit gone answers nothing), so it is not kept.
class RefusalWatch {
 public:
  RefusalWatch();                    // refusals before it are forgotten
  const char* FirstRefused() const;  // null while none refused
};

}  // namespace sdk
