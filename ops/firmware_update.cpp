// The three firmware updates: from the image alone, without customized
// settings, and together with a full set of settings staged by chip series.
#include "app/console.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/staging_steps.h"
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
void InitialSettingTableReported() {
  if (ApiTable.QZ_InitialCustomizedSettingTable() == 0) {
    ConsolePrint("Initial NVRAM data setting fail.\n");
  }
}

using A = ApiEntryTable;

// Text indices of the record's values in the staging calls.
enum : int { kVid, kPid, kSerial, kHdd1, kHdd2, kManufacturer, kProduct };

StagingValues ValuesOf(const CustomizedSetting& s) {
  return {
      {s.vidText, s.pidText, s.serialNumber, s.hddString1, s.hddString2, s.manufacturer, s.product},
      s.standbyTimer};
}

// In calling order: 16 calls for the QZT7 series, 17 for the others.
bool StageSettings(const char* device, bool isT7, const CustomizedSetting& setting) {
  const StagingValues values = ValuesOf(setting);
  const StagingSteps enableBoth = {One(&A::QZ_EnableUpdateVID), One(&A::QZ_EnableUpdatePID),
                                   One(&A::QZ_EnableUpdateSN),
                                   One(&A::QZ_EnableUpdateStandbyTimer)};
  const StagingSteps enableT7 = {One(&A::QZ_EnableUpdateManuProdCtl),
                                 One(&A::QZ_EnableUpdateInquiryCtl)};
  const StagingSteps enableOther = {One(&A::QZ_EnableUpdateDisplayHDDStrSetting),
                                    One(&A::QZ_EnableUpdateManuStr),
                                    One(&A::QZ_EnableUpdateProdStr)};
  const StagingSteps valuesBoth = {
      Text(&A::QZ_SetVIDValue, kVid),        Text(&A::QZ_SetPIDValue, kPid),
      Text(&A::QZ_SetSerialNumStr, kSerial), Text(&A::QZ_SetScsiVidString, kHdd1),
      Text(&A::QZ_SetScsiPidString, kHdd2),  Seconds(&A::QZ_SetStandbyTimer)};
  // Controls and strings, by series.
  const StagingSteps controlsT7 = {One(&A::QZ_SetManuProdCtl), One(&A::QZ_SetInquiryCtl),
                                   Text(&A::QZ_SetUsbManuString, kManufacturer),
                                   Text(&A::QZ_SetUsbProdString, kProduct)};
  const StagingSteps controlsOther = {
      One(&A::QZ_EnableMapToHDDStr), One(&A::QZ_SetSNFromNVRAMTable),
      Text(&A::QZ_SetManuStr, kManufacturer), Text(&A::QZ_SetProdString, kProduct)};
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
  InitialSettingTableReported();
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
  InitialSettingTableReported();
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
