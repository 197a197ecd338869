// Listing, identification and running-code queries.
#include <cstring>

#include "sim/bridge/state_store.h"
#include "sim/library/entries.h"
#include "sim/library/impl_common.h"
#include "sim/library/session.h"

namespace sim {
namespace impl {

int32_t QZ_GetSDKVersion(char* version) {
  return CopyOut(version, kSdkVersion, kSdkVersionSize) ? 1 : 0;
}

int32_t QZ_GetDeviceList(char** devicePaths, int32_t* deviceCount) {
  Session& session = CurrentSession();
  session.listed = false;
  session.listedPaths.clear();
  if (deviceCount == nullptr) return 0;
  *deviceCount = 0;
  if (devicePaths == nullptr || !session.knobsError.empty()) return 0;
  State state;
  std::string error;
  if (!StateStore::FromEnvironment().Load(&state, &error)) return FailWithReason(error);
  int32_t listed = 0;
  for (const Device& device : state.devices) {
    if (listed == kMaxDevices || devicePaths[listed] == nullptr) break;
    CopyOut(devicePaths[listed], device.path, kDevicePathSize);
    session.listedPaths.push_back(device.path);
    ++listed;
  }
  *deviceCount = listed;
  session.listed = true;
  return 1;
}

int32_t QZ_IsQZT7Series(const char* device) {
  return ReadDevice(device, [](const Device& d) { return d.series == Series::kT7 ? 1 : 0; });
}

int32_t QZ_GetRunningCodeMode(const char* device, int32_t* value) {
  if (value == nullptr) return 0;
  return ReadDevice(device, [value](const Device& d) {
    *value = d.mode;
    return 1;
  });
}

int32_t QZ_GetFWVersion(const char* device, char* text) {
  if (text == nullptr) return 0;
  return ReadDevice(device, [text](const Device& d) {
    if (d.mode == kModeInternal) return CopyOut(text, kInternalCodeVersion) ? 1 : 0;
    if (d.mode == kModeFirmware) return CopyOut(text, d.version) ? 1 : 0;
    return 0;  // undetermined code: nothing to report
  });
}

int32_t QZ_GetChipTypeName(const char* device) { return DeviceExists(device); }
int32_t QZ_GetChipType(const char* device) { return DeviceExists(device); }
int32_t QZ_Inquiry(const char* device) { return DeviceExists(device); }
int32_t QZ_SetDevicePath(const char* device) { return DeviceExists(device); }

int32_t QZ_CheckChipFW(const char* device) {
  return ReadDevice(device, [](const Device& d) { return d.mode == kModeFirmware ? 1 : 0; });
}

}  // namespace impl
}  // namespace sim
