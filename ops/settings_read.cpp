#include "app/console.h"
#include "app/device_list.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "sdk/api_table.h"
#include "sdk/library_text.h"

namespace {

template <typename T>
using DeviceRead = EntryPoint<int32_t(QZ_CALL*)(const char* device, T* destination)>;

// Asks for the series anew on every read: nothing caches the answer.
template <typename T>
int32_t ReadBySeries(const DeviceRead<T>& t7Read, const DeviceRead<T>& otherRead, T* destination) {
  const bool isT7 = ApiTable.QZ_IsQZT7Series(currentDevice) != 0;
  return (isT7 ? t7Read : otherRead)(currentDevice, destination);
}

// Text reads end the 80-byte buffer with a terminator whatever the library
// left in it.
int32_t TerminatedText(int32_t result, char* text) {
  TerminateLibraryText(text, kSettingTextSize);
  return result;
}

}  // namespace

int32_t OpGetVendorId(uint16_t* vid) {
  if (!OperationAccepted()) return 0;
  return ReadBySeries(ApiTable.QZ_GetT7VIDbySCSICmd, ApiTable.QZ_GetVIDfromFlash, vid);
}

int32_t OpGetProductId(uint16_t* pid) {
  if (!OperationAccepted()) return 0;
  return ReadBySeries(ApiTable.QZ_GetT7PIDbySCSICmd, ApiTable.QZ_GetPIDfromFlash, pid);
}

int32_t OpGetSerialNumber(char* text) {
  if (!OperationAccepted()) return 0;
  return TerminatedText(
      ReadBySeries(ApiTable.QZ_GetT7SNbySCSICmd, ApiTable.QZ_GetSNfromFlash, text), text);
}

int32_t OpGetManufacturerString(char* text) {
  if (!OperationAccepted()) return 0;
  return TerminatedText(ApiTable.QZ_GetManuStrfromFlash(currentDevice, text), text);
}

int32_t OpGetProductString(char* text) {
  if (!OperationAccepted()) return 0;
  return TerminatedText(ApiTable.QZ_GetProdStrfromFlash(currentDevice, text), text);
}

int32_t OpGetHDDString(char* text) {
  if (!OperationAccepted()) return 0;
  return TerminatedText(ApiTable.QZ_GetHDDStrfromFlash(currentDevice, text), text);
}

// The one reader guarded by its destination instead of the device count.
int32_t OpGetStandbyTimer(int32_t* seconds) {
  if (seconds == nullptr) {
    PrintInputParameterError();
    return 0;
  }
  return ReadBySeries(ApiTable.QZ_GetT7StandbyTimerbySCSICmd, ApiTable.QZ_GetStandbyTimerfromFlash,
                      seconds);
}

// Stops at the first failing read; the fields after it keep the caller's
// zeros. The timer read's result is the whole read's result.
int32_t OpGetCustomizedSetting(CustomizedSetting* setting) {
  if (OpGetVendorId(&setting->vid) == 0 || OpGetProductId(&setting->pid) == 0 ||
      OpGetManufacturerString(setting->manufacturer) == 0 ||
      OpGetProductString(setting->product) == 0 || OpGetSerialNumber(setting->serialNumber) == 0 ||
      OpGetHDDString(setting->hddString) == 0) {
    return 0;
  }
  return OpGetStandbyTimer(&setting->standbyTimer);
}
