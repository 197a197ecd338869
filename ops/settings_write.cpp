// Settings write: one customized setting per operation, staged after Init
// and committed with QZ_UpdateCustomizedSetting.
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/staging_steps.h"
#include "sdk/api_table.h"

namespace ops {

using sdk::ApiTable;

namespace {

using Api = sdk::ApiEntryTable;

// Text indices of a write's values.
constexpr int kFirst = 0;
constexpr int kSecond = 1;

StagingValues TextValues(const char* first, const char* second = nullptr) {
  return {{first, second}, 0};
}

// The staging calls, then the commit, whose result is the write's.
int32_t StageAndCommit(const char* device, const StagingValues& values, StagingSteps steps) {
  if (!RunStagingSteps(device, steps, values)) return 0;
  return ApiTable.QZ_UpdateCustomizedSetting(device);
}

// Init, then the calls that are the same on every bridge.
int32_t WriteSameOnEverySeries(const char* device, const StagingValues& values,
                               StagingSteps steps) {
  if (ApiTable.QZ_InitialCustomizedSettingTable() == 0) return 0;
  return StageAndCommit(device, values, steps);
}

// Init, then the series is asked whatever Init returned, then the calls of
// that series.
int32_t WriteBySeries(const char* device, const StagingValues& values, StagingSteps t7Steps,
                      StagingSteps otherSteps) {
  const int32_t initResult = ApiTable.QZ_InitialCustomizedSettingTable();
  const bool isT7 = ApiTable.QZ_IsQZT7Series(device) != 0;
  if (initResult == 0) return 0;
  return StageAndCommit(device, values, isT7 ? t7Steps : otherSteps);
}

}  // namespace

int32_t OpSetVendorId(const char* device, const char* vidText) {
  // The id text is the library's to judge; only a missing one is refused.
  if (!OperationAccepted(device, vidText != nullptr)) return 0;
  return WriteSameOnEverySeries(
      device, TextValues(vidText),
      {FlagOn(&Api::QZ_EnableUpdateVID), Text(&Api::QZ_SetVIDValue, kFirst)});
}

int32_t OpSetProductId(const char* device, const char* pidText) {
  if (!OperationAccepted(device, pidText != nullptr)) return 0;
  return WriteSameOnEverySeries(
      device, TextValues(pidText),
      {FlagOn(&Api::QZ_EnableUpdatePID), Text(&Api::QZ_SetPIDValue, kFirst)});
}

int32_t OpSetSerialNumber(const char* device, const char* serialNumber) {
  if (!OperationAccepted(device, NonEmpty(serialNumber))) return 0;
  return WriteBySeries(device, TextValues(serialNumber),
                       {FlagOn(&Api::QZ_EnableUpdateSN), Text(&Api::QZ_SetSerialNumStr, kFirst)},
                       {FlagOn(&Api::QZ_EnableUpdateSN), FlagOn(&Api::QZ_SetSNFromNVRAMTable),
                        Text(&Api::QZ_SetSerialNumStr, kFirst)});
}

int32_t OpSetManufacturerString(const char* device, const char* manufacturer) {
  if (!OperationAccepted(device, NonEmpty(manufacturer))) return 0;
  return WriteBySeries(device, TextValues(manufacturer),
                       {FlagOn(&Api::QZ_EnableUpdateManuProdCtl), FlagOn(&Api::QZ_SetManuProdCtl),
                        Text(&Api::QZ_SetUsbManuString, kFirst)},
                       {FlagOn(&Api::QZ_EnableUpdateManuStr), Text(&Api::QZ_SetManuStr, kFirst)});
}

int32_t OpSetProductString(const char* device, const char* product) {
  if (!OperationAccepted(device, NonEmpty(product))) return 0;
  return WriteBySeries(
      device, TextValues(product),
      {FlagOn(&Api::QZ_EnableUpdateManuProdCtl), FlagOn(&Api::QZ_SetManuProdCtl),
       Text(&Api::QZ_SetUsbProdString, kFirst)},
      {FlagOn(&Api::QZ_EnableUpdateProdStr), Text(&Api::QZ_SetProdString, kFirst)});
}

int32_t OpSetStandbyTimer(const char* device, int32_t seconds) {
  if (!OperationAccepted(device, seconds >= 0)) return 0;
  // The QZT7 series takes the timer in one direct call, without staging.
  if (ApiTable.QZ_IsQZT7Series(device) != 0) {
    return ApiTable.QZ_UpdateT7StandbyTimer(device, seconds) != 0 ? 1 : 0;
  }
  const int32_t result = WriteSameOnEverySeries(
      device, {{}, seconds},
      {FlagOn(&Api::QZ_EnableUpdateStandbyTimer), Seconds(&Api::QZ_SetStandbyTimer)});
  return result != 0 ? 1 : 0;
}

int32_t OpSetHDDString(const char* device, const char* hddString1, const char* hddString2) {
  // Empty strings are valid values; only missing ones are refused.
  if (!OperationAccepted(device, hddString1 != nullptr && hddString2 != nullptr)) return 0;
  return WriteBySeries(
      device, TextValues(hddString1, hddString2),
      {FlagOn(&Api::QZ_EnableUpdateInquiryCtl), Text(&Api::QZ_SetScsiVidString, kFirst),
       Text(&Api::QZ_SetScsiPidString, kSecond), FlagOn(&Api::QZ_SetInquiryCtl)},
      {FlagOn(&Api::QZ_EnableUpdateDisplayHDDStrSetting), Text(&Api::QZ_SetScsiVidString, kFirst),
       Text(&Api::QZ_SetScsiPidString, kSecond), FlagOn(&Api::QZ_EnableMapToHDDStr)});
}

}  // namespace ops
