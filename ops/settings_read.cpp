#include "ops/messages.h"
#include "ops/operations.h"
#include "runtime/console.h"
#include "sdk/api_table.h"
#include "sdk/library_text.h"

namespace ops {

using sdk::ApiTable;

namespace {

template <typename T>
using DeviceRead = sdk::EntryPoint<int32_t(QZ_CALL*)(const char* device, T* destination)>;

// Asks for the series anew on every read: nothing caches the answer.
template <typename T>
int32_t ReadBySeries(const char* device, const DeviceRead<T>& t7Read,
                     const DeviceRead<T>& otherRead, T* destination) {
  const bool isT7 = ApiTable.QZ_IsQZT7Series(device) != 0;
  return (isT7 ? t7Read : otherRead)(device, destination);
}

// Text reads end the setting-text buffer with a terminator whatever the library
// left in it.
int32_t WithTerminatedText(int32_t result, char* text) {
  sdk::TerminateLibraryText(text, kLibraryTextSize);
  return result;
}

}  // namespace

int32_t OpGetVendorId(const char* device, uint16_t* vid) {
  if (!OperationAccepted(device)) return 0;
  return ReadBySeries(device, ApiTable.QZ_GetT7VIDbySCSICmd, ApiTable.QZ_GetVIDfromFlash, vid);
}

int32_t OpGetProductId(const char* device, uint16_t* pid) {
  if (!OperationAccepted(device)) return 0;
  return ReadBySeries(device, ApiTable.QZ_GetT7PIDbySCSICmd, ApiTable.QZ_GetPIDfromFlash, pid);
}

int32_t OpGetSerialNumber(const char* device, char* text) {
  if (!OperationAccepted(device)) return 0;
  return WithTerminatedText(
      ReadBySeries(device, ApiTable.QZ_GetT7SNbySCSICmd, ApiTable.QZ_GetSNfromFlash, text), text);
}

int32_t OpGetManufacturerString(const char* device, char* text) {
  if (!OperationAccepted(device)) return 0;
  return WithTerminatedText(ApiTable.QZ_GetManuStrfromFlash(device, text), text);
}

int32_t OpGetProductString(const char* device, char* text) {
  if (!OperationAccepted(device)) return 0;
  return WithTerminatedText(ApiTable.QZ_GetProdStrfromFlash(device, text), text);
}

int32_t OpGetHDDString(const char* device, char* text) {
  if (!OperationAccepted(device)) return 0;
  return WithTerminatedText(ApiTable.QZ_GetHDDStrfromFlash(device, text), text);
}

// The one reader guarded by its destination instead of the device.
int32_t OpGetStandbyTimer(const char* device, int32_t* seconds) {
  if (seconds == nullptr) {
    PrintInputParameterError();
    return 0;
  }
  return ReadBySeries(device, ApiTable.QZ_GetT7StandbyTimerbySCSICmd,
                      ApiTable.QZ_GetStandbyTimerfromFlash, seconds);
}

// Stops at the first failing read; the fields after it keep the caller's
// zeros. The timer read's result is the whole read's result.
int32_t OpGetCustomizedSetting(const char* device, CustomizedSetting* setting) {
  if (OpGetVendorId(device, &setting->vid) == 0 || OpGetProductId(device, &setting->pid) == 0 ||
      OpGetManufacturerString(device, setting->manufacturer) == 0 ||
      OpGetProductString(device, setting->product) == 0 ||
      OpGetSerialNumber(device, setting->serialNumber) == 0 ||
      OpGetHDDString(device, setting->hddString) == 0) {
    return 0;
  }
  return OpGetStandbyTimer(device, &setting->standbyTimer);
}

}  // namespace ops
