// The three firmware updates: from the image alone, without customized
// settings, and together with a full set of settings staged by chip series.
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/staging_steps.h"
#include "runtime/console.h"
#include "sdk/api_table.h"

namespace {

// The library checks the image against the device, then takes its path.
bool PrepareImage(const char* device, const char* binPath) {
  if (ApiTable.QZ_CheckLoadBinFileMatch(device, binPath) == 0) {
    ConsolePrint("Bin file not match \n");
    return false;
  }
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

using Api = ApiEntryTable;

// Text indices of the record's values in the staging calls.
enum : int { kVid, kPid, kSerial, kHdd1, kHdd2, kManufacturer, kProduct };

StagingValues StagingValuesOf(const CustomizedSetting& setting) {
  return {{setting.vidText, setting.pidText, setting.serialNumber, setting.hddString1,
           setting.hddString2, setting.manufacturer, setting.product},
          setting.standbyTimer};
}

// In calling order: 16 calls for the QZT7 series, 17 for the others.
bool StageSettings(const char* device, bool isT7, const CustomizedSetting& setting) {
  const StagingValues values = StagingValuesOf(setting);
  const StagingSteps enableBoth = {
      FlagOn(&Api::QZ_EnableUpdateVID), FlagOn(&Api::QZ_EnableUpdatePID),
      FlagOn(&Api::QZ_EnableUpdateSN), FlagOn(&Api::QZ_EnableUpdateStandbyTimer)};
  const StagingSteps enableT7 = {FlagOn(&Api::QZ_EnableUpdateManuProdCtl),
                                 FlagOn(&Api::QZ_EnableUpdateInquiryCtl)};
  const StagingSteps enableOther = {FlagOn(&Api::QZ_EnableUpdateDisplayHDDStrSetting),
                                    FlagOn(&Api::QZ_EnableUpdateManuStr),
                                    FlagOn(&Api::QZ_EnableUpdateProdStr)};
  const StagingSteps valuesBoth = {
      Text(&Api::QZ_SetVIDValue, kVid),        Text(&Api::QZ_SetPIDValue, kPid),
      Text(&Api::QZ_SetSerialNumStr, kSerial), Text(&Api::QZ_SetScsiVidString, kHdd1),
      Text(&Api::QZ_SetScsiPidString, kHdd2),  Seconds(&Api::QZ_SetStandbyTimer)};
  // Controls and strings, by series.
  const StagingSteps controlsT7 = {FlagOn(&Api::QZ_SetManuProdCtl), FlagOn(&Api::QZ_SetInquiryCtl),
                                   Text(&Api::QZ_SetUsbManuString, kManufacturer),
                                   Text(&Api::QZ_SetUsbProdString, kProduct)};
  const StagingSteps controlsOther = {
      FlagOn(&Api::QZ_EnableMapToHDDStr), FlagOn(&Api::QZ_SetSNFromNVRAMTable),
      Text(&Api::QZ_SetManuStr, kManufacturer), Text(&Api::QZ_SetProdString, kProduct)};
  for (const StagingSteps& group :
       {enableBoth, isT7 ? enableT7 : enableOther, valuesBoth, isT7 ? controlsT7 : controlsOther}) {
    if (!RunStagingSteps(device, group, values)) return false;
  }
  return true;
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
  if (!StageSettings(device, isT7, *setting)) return 0;
  return ApiTable.QZ_FWUpdateProgrammingEX(device);
}
