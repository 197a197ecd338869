// The three firmware updates: from the image alone, without customized
// settings, and together with a full set of settings staged by chip series.
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/staging_steps.h"
#include "runtime/console.h"
#include "sdk/api_table.h"

namespace ops {

using runtime::ConsolePrint;
using sdk::ApiTable;

namespace {

// The library checks the image against the device, then takes its path.
bool PrepareImage(const char* device, const char* binPath) {
  if (!ImageMatchesDevice(device, binPath)) return false;
  if (ApiTable.QZ_SetFWBinFilePath(binPath) == 0) {
    ConsolePrint("Set firmware bin file path fail\n");
    return false;
  }
  return true;
}

// Updates that keep the image's or the device's settings report a failed
// preparation of the setting table and program all the same.
void InitSettingTableOrWarn() {
  if (ApiTable.QZ_InitialCustomizedSettingTable() == 0) {
    ConsolePrint("Initial NVRAM data setting fail.\n");
  }
}

// The update with settings writes every setting; a record lacking one is refused whole.
bool IsCompleteRecord(const CustomizedSetting* setting) {
  if (setting == nullptr) return false;
  const char* const required[] = {setting->vidText,   setting->pidText,      setting->manufacturer,
                                  setting->product,   setting->serialNumber, setting->hddString1,
                                  setting->hddString2};
  for (const char* text : required) {
    if (text[0] == '\0') return false;
  }
  return setting->standbyTimer >= 0;
}

}  // namespace

bool ImageMatchesDevice(const char* device, const char* binPath) {
  if (ApiTable.QZ_CheckLoadBinFileMatch(device, binPath) != 0) return true;
  ConsolePrint("Bin file not match \n");
  return false;
}

int32_t OpUpdateFromBin(const char* device, const char* binPath) {
  if (!OperationAccepted(device)) return 0;
  if (!PrepareImage(device, binPath)) return 0;
  InitSettingTableOrWarn();
  return ApiTable.QZ_FWUpdateProgramming(device);
}

int32_t OpUpdateNoCustomizedSetting(const char* device, const char* binPath) {
  if (!OperationAccepted(device)) return 0;
  int32_t mode = kRunningModeUndetermined;
  ApiTable.QZ_GetRunningCodeMode(device, &mode);
  if (mode == kRunningModeUndetermined) {
    ConsolePrint("Current FW version is unknown \n");
    return 0;
  }
  if (mode != kRunningModeFirmware) {
    ConsolePrint("Internal code is not supported in current function\n");
    return 0;
  }
  if (!PrepareImage(device, binPath)) return 0;
  InitSettingTableOrWarn();
  return ApiTable.QZ_FWUpdateProgrammingNoCustomizedSetting(device);
}

int32_t OpUpdateWithCustomizedSetting(const char* device, const CustomizedSetting* setting,
                                      const char* binPath) {
  if (!OperationAccepted(device)) return 0;
  // The image is checked before the record.
  if (!PrepareImage(device, binPath)) return 0;
  if (!IsCompleteRecord(setting)) {
    PrintInputParameterError();
    return 0;
  }
  const int32_t initialized = ApiTable.QZ_InitialCustomizedSettingTable();
  const bool isT7 = ApiTable.QZ_IsQZT7Series(device) != 0;
  if (initialized == 0) return 0;
  if (!StageSettings(device, isT7, *setting, kAllSettings)) return 0;
  return ApiTable.QZ_FWUpdateProgrammingEX(device);
}

}  // namespace ops
