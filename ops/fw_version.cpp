#include <cstring>

#include "ops/messages.h"
#include "ops/operations.h"
#include "runtime/console.h"
#include "sdk/api_table.h"
#include "sdk/library_text.h"

namespace ops {

int32_t OpGetFWVersion(const char* device, char* versionText) {
  if (!OperationAccepted(device)) return 0;
  // Only the mode written counts; the call's own result says nothing more.
  int32_t mode = kRunningModeUndetermined;
  sdk::ApiTable.QZ_GetRunningCodeMode(device, &mode);
  if (mode == kRunningModeInternalCode) {
    std::memcpy(versionText, kInternalCodeText, std::strlen(kInternalCodeText) + 1);
    return 1;
  }
  if (mode != kRunningModeFirmware) return 0;
  const int32_t read = sdk::ApiTable.QZ_GetFWVersion(device, versionText);
  sdk::TerminateLibraryText(versionText, kLibraryTextSize);
  // A version read that failed is no version, whatever the buffer holds.
  return read != 0 ? 1 : 0;
}

}  // namespace ops
