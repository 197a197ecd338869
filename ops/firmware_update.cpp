// The three firmware updates: from the image alone, without customized
// settings, and together with a full set of settings staged by chip series.
#include <cstddef>

#include "app/console.h"
#include "app/device_list.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "sdk/api_table.h"

namespace {

// The library checks the image against the device, then takes its path.
bool PrepareImage(const char* binPath) {
  if (ApiTable.QZ_CheckLoadBinFileMatch(currentDevice, binPath) == 0) {
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

// One staging call of the update with settings; nonzero when the library took it.
using StagingStep = int32_t (*)(const CustomizedSetting& setting);

using FlagEntry = QZ_EnableUpdateVID_Fn;
using TextEntry = QZ_SetVIDValue_Fn;

template <FlagEntry ApiEntryTable::*Entry>
int32_t Flag(const CustomizedSetting&) {
  return (ApiTable.*Entry)(currentDevice, 1);
}

template <TextEntry ApiEntryTable::*Entry, auto Field>
int32_t Text(const CustomizedSetting& setting) {
  return (ApiTable.*Entry)(currentDevice, setting.*Field);
}

int32_t StandbyTimer(const CustomizedSetting& setting) {
  return ApiTable.QZ_SetStandbyTimer(currentDevice, setting.standbyTimer);
}

using S = CustomizedSetting;
using A = ApiEntryTable;

constexpr StagingStep kEnableBoth[] = {
    Flag<&A::QZ_EnableUpdateVID>,
    Flag<&A::QZ_EnableUpdatePID>,
    Flag<&A::QZ_EnableUpdateSN>,
    Flag<&A::QZ_EnableUpdateStandbyTimer>,
};
constexpr StagingStep kEnableT7[] = {
    Flag<&A::QZ_EnableUpdateManuProdCtl>,
    Flag<&A::QZ_EnableUpdateInquiryCtl>,
};
constexpr StagingStep kEnableOther[] = {
    Flag<&A::QZ_EnableUpdateDisplayHDDStrSetting>,
    Flag<&A::QZ_EnableUpdateManuStr>,
    Flag<&A::QZ_EnableUpdateProdStr>,
};
constexpr StagingStep kValuesBoth[] = {
    Text<&A::QZ_SetVIDValue, &S::vidText>,          Text<&A::QZ_SetPIDValue, &S::pidText>,
    Text<&A::QZ_SetSerialNumStr, &S::serialNumber>, Text<&A::QZ_SetScsiVidString, &S::hddString1>,
    Text<&A::QZ_SetScsiPidString, &S::hddString2>,  StandbyTimer,
};
// Controls and strings, by series.
constexpr StagingStep kControlsT7[] = {
    Flag<&A::QZ_SetManuProdCtl>,
    Flag<&A::QZ_SetInquiryCtl>,
    Text<&A::QZ_SetUsbManuString, &S::manufacturer>,
    Text<&A::QZ_SetUsbProdString, &S::product>,
};
constexpr StagingStep kControlsOther[] = {
    Flag<&A::QZ_EnableMapToHDDStr>,
    Flag<&A::QZ_SetSNFromNVRAMTable>,
    Text<&A::QZ_SetManuStr, &S::manufacturer>,
    Text<&A::QZ_SetProdString, &S::product>,
};

struct StagingGroup {
  const StagingStep* steps;
  size_t count;
};

template <size_t N>
constexpr StagingGroup Group(const StagingStep (&steps)[N]) {
  return {steps, N};
}

// The groups in calling order: 16 calls for the QZT7 series, 17 for the others.
constexpr StagingGroup kStagingT7[] = {Group(kEnableBoth), Group(kEnableT7), Group(kValuesBoth),
                                       Group(kControlsT7)};
constexpr StagingGroup kStagingOther[] = {Group(kEnableBoth), Group(kEnableOther),
                                          Group(kValuesBoth), Group(kControlsOther)};

// Stops at the first call the library refuses; nothing after it is made.
bool StageSettings(const StagingGroup (&groups)[4], const CustomizedSetting& setting) {
  for (const StagingGroup& group : groups) {
    for (size_t i = 0; i < group.count; ++i) {
      if (group.steps[i](setting) == 0) return false;
    }
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

int32_t OpUpdateFromBin(const char* binPath) {
  if (!OperationAccepted()) return 0;
  if (!PrepareImage(binPath)) return 0;
  InitialSettingTableReported();
  return ApiTable.QZ_FWUpdateProgramming(currentDevice);
}

int32_t OpUpdateNoCustomizedSetting(const char* binPath) {
  if (!OperationAccepted()) return 0;
  int32_t mode = kRunningModeUndetermined;
  ApiTable.QZ_GetRunningCodeMode(currentDevice, &mode);
  if (mode == kRunningModeUndetermined) {
    ConsolePrint("Current FW version is unknown \n");
    return 0;
  }
  if (mode != kRunningModeFirmware) {
    ConsolePrint("Internal code is not supported in current function\n");
    return 0;
  }
  if (!PrepareImage(binPath)) return 0;
  InitialSettingTableReported();
  return ApiTable.QZ_FWUpdateProgrammingNoCustomizedSetting(currentDevice);
}

int32_t OpUpdateWithCustomizedSetting(const CustomizedSetting* setting, const char* binPath) {
  if (!OperationAccepted()) return 0;
  // The image is checked before the record.
  if (!PrepareImage(binPath)) return 0;
  if (!IsCompleteRecord(setting)) {
    PrintInputParameterError();
    return 0;
  }
  const int32_t initialized = ApiTable.QZ_InitialCustomizedSettingTable();
  const bool isT7 = ApiTable.QZ_IsQZT7Series(currentDevice) != 0;
  if (initialized == 0) return 0;
  if (!StageSettings(isT7 ? kStagingT7 : kStagingOther, *setting)) return 0;
  return ApiTable.QZ_FWUpdateProgrammingEX(currentDevice);
}
