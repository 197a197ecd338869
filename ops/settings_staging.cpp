// The staging table of the update with settings, each call tagged with the
// settings it serves: the update stages it whole, OpSetCustomizedSettings
// only the named settings' calls.
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/setting_table.h"
#include "ops/staging_steps.h"
#include "sdk/api_table.h"

namespace ops {

using sdk::ApiTable;

namespace {

using Api = sdk::ApiEntryTable;

// Text indices of the record's values in the staging calls.
enum : int { kVidText, kPidText, kSerialText, kHdd1Text, kHdd2Text, kManuText, kProdText };

// Short names for the tags of the table below.
constexpr uint32_t kVid = kSettingVid;
constexpr uint32_t kPid = kSettingPid;
constexpr uint32_t kManu = kSettingManufacturer;
constexpr uint32_t kProd = kSettingProduct;
constexpr uint32_t kSn = kSettingSerial;
constexpr uint32_t kHdd = kSettingHdd;
constexpr uint32_t kTimer = kSettingTimer;

StagingValues StagingValuesOf(const CustomizedSetting& setting) {
  return {{setting.vidText, setting.pidText, setting.serialNumber, setting.hddString1,
           setting.hddString2, setting.manufacturer, setting.product},
          setting.standbyTimer};
}

// The texts the single writers refuse empty, and the timer's sign.
bool SelectionValid(uint32_t selection, const CustomizedSetting* setting) {
  if (setting == nullptr || selection == 0 || (selection & ~kAllSettings) != 0) return false;
  CustomizedSetting asked = *setting;
  for (const SettingRow& row : kSettingRows) {
    if ((selection & row.bit) == 0) continue;
    if (row.rule == SettingRule::kNonEmptyText && !NonEmpty(row.wanted(asked, 0))) return false;
    if (row.rule == SettingRule::kSeconds && setting->standbyTimer < 0) return false;
  }
  return true;
}

}  // namespace

// In calling order: 16 calls for the QZT7 series, 17 for the others, when all
// settings are selected.
bool StageSettings(const char* device, bool isT7, const CustomizedSetting& setting,
                   uint32_t selection) {
  const StagingValues values = StagingValuesOf(setting);
  const StagingSteps enableBoth = {
      FlagOn(&Api::QZ_EnableUpdateVID, kVid), FlagOn(&Api::QZ_EnableUpdatePID, kPid),
      FlagOn(&Api::QZ_EnableUpdateSN, kSn), FlagOn(&Api::QZ_EnableUpdateStandbyTimer, kTimer)};
  const StagingSteps enableT7 = {FlagOn(&Api::QZ_EnableUpdateManuProdCtl, kManu | kProd),
                                 FlagOn(&Api::QZ_EnableUpdateInquiryCtl, kHdd)};
  const StagingSteps enableOther = {FlagOn(&Api::QZ_EnableUpdateDisplayHDDStrSetting, kHdd),
                                    FlagOn(&Api::QZ_EnableUpdateManuStr, kManu),
                                    FlagOn(&Api::QZ_EnableUpdateProdStr, kProd)};
  const StagingSteps valuesBoth = {Text(&Api::QZ_SetVIDValue, kVidText, kVid),
                                   Text(&Api::QZ_SetPIDValue, kPidText, kPid),
                                   Text(&Api::QZ_SetSerialNumStr, kSerialText, kSn),
                                   Text(&Api::QZ_SetScsiVidString, kHdd1Text, kHdd),
                                   Text(&Api::QZ_SetScsiPidString, kHdd2Text, kHdd),
                                   Seconds(&Api::QZ_SetStandbyTimer, kTimer)};
  // Controls and strings, by series.
  const StagingSteps controlsT7 = {FlagOn(&Api::QZ_SetManuProdCtl, kManu | kProd),
                                   FlagOn(&Api::QZ_SetInquiryCtl, kHdd),
                                   Text(&Api::QZ_SetUsbManuString, kManuText, kManu),
                                   Text(&Api::QZ_SetUsbProdString, kProdText, kProd)};
  const StagingSteps controlsOther = {
      FlagOn(&Api::QZ_EnableMapToHDDStr, kHdd), FlagOn(&Api::QZ_SetSNFromNVRAMTable, kSn),
      Text(&Api::QZ_SetManuStr, kManuText, kManu), Text(&Api::QZ_SetProdString, kProdText, kProd)};
  for (const StagingSteps& group :
       {enableBoth, isT7 ? enableT7 : enableOther, valuesBoth, isT7 ? controlsT7 : controlsOther}) {
    if (!RunStagingSteps(device, group, values, selection)) return false;
  }
  return true;
}

int32_t OpSetCustomizedSettings(const char* device, uint32_t selection,
                                const CustomizedSetting* setting) {
  if (!OperationAccepted(device, SelectionValid(selection, setting))) return 0;
  const int32_t initialized = ApiTable.QZ_InitialCustomizedSettingTable();
  const bool isT7 = ApiTable.QZ_IsQZT7Series(device) != 0;
  if (initialized == 0) return 0;
  // A QZT7 bridge's timer has a writer of its own and is no staging call.
  const bool directTimer = isT7 && (selection & kTimer) != 0;
  const uint32_t staged = directTimer ? selection & ~kTimer : selection;
  int32_t result = 1;
  if (staged != 0) {
    if (!StageSettings(device, isT7, *setting, staged)) return 0;
    result = ApiTable.QZ_UpdateCustomizedSetting(device);
    if (result == 0) return 0;
  }
  if (directTimer && ApiTable.QZ_UpdateT7StandbyTimer(device, setting->standbyTimer) == 0) return 0;
  return result;
}

}  // namespace ops
