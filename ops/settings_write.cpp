// Settings write: one customized setting per operation, staged after Init
// and committed with QZ_UpdateCustomizedSetting.
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/staging_steps.h"
#include "sdk/api_table.h"

namespace {

using A = ApiEntryTable;

// Text indices of a write's values.
constexpr int kFirst = 0;
constexpr int kSecond = 1;

StagingValues Texts(const char* first, const char* second = nullptr) {
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

bool NonEmpty(const char* text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

int32_t OpSetVendorId(const char* device, const char* vidText) {
  // The id text is the library's to judge; only a missing one is refused.
  if (!OperationAccepted(device, vidText != nullptr)) return 0;
  return WriteSameOnEverySeries(device, Texts(vidText),
                                {One(&A::QZ_EnableUpdateVID), Text(&A::QZ_SetVIDValue, kFirst)});
}

int32_t OpSetProductId(const char* device, const char* pidText) {
  if (!OperationAccepted(device, pidText != nullptr)) return 0;
  return WriteSameOnEverySeries(device, Texts(pidText),
                                {One(&A::QZ_EnableUpdatePID), Text(&A::QZ_SetPIDValue, kFirst)});
}

int32_t OpSetSerialNumber(const char* device, const char* serialNumber) {
  if (!OperationAccepted(device, NonEmpty(serialNumber))) return 0;
  return WriteBySeries(device, Texts(serialNumber),
                       {One(&A::QZ_EnableUpdateSN), Text(&A::QZ_SetSerialNumStr, kFirst)},
                       {One(&A::QZ_EnableUpdateSN), One(&A::QZ_SetSNFromNVRAMTable),
                        Text(&A::QZ_SetSerialNumStr, kFirst)});
}

int32_t OpSetManufacturerString(const char* device, const char* manufacturer) {
  if (!OperationAccepted(device, NonEmpty(manufacturer))) return 0;
  return WriteBySeries(device, Texts(manufacturer),
                       {One(&A::QZ_EnableUpdateManuProdCtl), One(&A::QZ_SetManuProdCtl),
                        Text(&A::QZ_SetUsbManuString, kFirst)},
                       {One(&A::QZ_EnableUpdateManuStr), Text(&A::QZ_SetManuStr, kFirst)});
}

int32_t OpSetProductString(const char* device, const char* product) {
  if (!OperationAccepted(device, NonEmpty(product))) return 0;
  return WriteBySeries(device, Texts(product),
                       {One(&A::QZ_EnableUpdateManuProdCtl), One(&A::QZ_SetManuProdCtl),
                        Text(&A::QZ_SetUsbProdString, kFirst)},
                       {One(&A::QZ_EnableUpdateProdStr), Text(&A::QZ_SetProdString, kFirst)});
}

int32_t OpSetStandbyTimer(const char* device, int32_t seconds) {
  if (!OperationAccepted(device, seconds >= 0)) return 0;
  // The QZT7 series takes the timer in one direct call, without staging.
  if (ApiTable.QZ_IsQZT7Series(device) != 0) {
    return ApiTable.QZ_UpdateT7StandbyTimer(device, seconds) != 0 ? 1 : 0;
  }
  const int32_t result = WriteSameOnEverySeries(
      device, {{}, seconds},
      {One(&A::QZ_EnableUpdateStandbyTimer), Seconds(&A::QZ_SetStandbyTimer)});
  return result != 0 ? 1 : 0;
}

int32_t OpSetHDDString(const char* device, const char* hddString1, const char* hddString2) {
  // Empty strings are valid values; only missing ones are refused.
  if (!OperationAccepted(device, hddString1 != nullptr && hddString2 != nullptr)) return 0;
  return WriteBySeries(
      device, Texts(hddString1, hddString2),
      {One(&A::QZ_EnableUpdateInquiryCtl), Text(&A::QZ_SetScsiVidString, kFirst),
       Text(&A::QZ_SetScsiPidString, kSecond), One(&A::QZ_SetInquiryCtl)},
      {One(&A::QZ_EnableUpdateDisplayHDDStrSetting), Text(&A::QZ_SetScsiVidString, kFirst),
       Text(&A::QZ_SetScsiPidString, kSecond), One(&A::QZ_EnableMapToHDDStr)});
}
