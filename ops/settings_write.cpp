// Settings write: one customized setting per operation, staged after Init
// and committed with QZ_UpdateCustomizedSetting.
#include <initializer_list>

#include "app/console.h"
#include "app/device_list.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "sdk/api_table.h"

namespace {

using NumberEntry = int32_t(QZ_CALL*)(const char*, int32_t);
using TextEntry = int32_t(QZ_CALL*)(const char*, const char*);

// What one write hands over: its texts and its seconds.
struct WriteInput {
  const char* first = nullptr;
  const char* second = nullptr;
  int32_t seconds = 0;
};

enum class Argument { kOne, kSeconds, kFirst, kSecond };

// One staging call: an enable or set entry point and what it is given after
// currentDevice.
struct Step {
  Argument argument;
  NumberEntry ApiEntryTable::*numberEntry;
  TextEntry ApiEntryTable::*textEntry;
};

constexpr Step One(NumberEntry ApiEntryTable::*entry) { return {Argument::kOne, entry, nullptr}; }
constexpr Step Seconds(NumberEntry ApiEntryTable::*entry) {
  return {Argument::kSeconds, entry, nullptr};
}
constexpr Step First(TextEntry ApiEntryTable::*entry) { return {Argument::kFirst, nullptr, entry}; }
constexpr Step Second(TextEntry ApiEntryTable::*entry) {
  return {Argument::kSecond, nullptr, entry};
}

int32_t Call(const Step& step, const WriteInput& input) {
  switch (step.argument) {
    case Argument::kOne:
      return (ApiTable.*step.numberEntry)(currentDevice, 1);
    case Argument::kSeconds:
      return (ApiTable.*step.numberEntry)(currentDevice, input.seconds);
    case Argument::kFirst:
      return (ApiTable.*step.textEntry)(currentDevice, input.first);
    case Argument::kSecond:
      return (ApiTable.*step.textEntry)(currentDevice, input.second);
  }
  return 0;
}

using Steps = std::initializer_list<Step>;

// Runs the staging calls in order, each result tested; the first failure
// stops the write before the commit. Returns the commit's result.
int32_t StageAndCommit(const WriteInput& input, Steps steps) {
  for (const Step& step : steps) {
    if (Call(step, input) == 0) return 0;
  }
  return ApiTable.QZ_UpdateCustomizedSetting(currentDevice);
}

// Init, then the calls that are the same on every bridge.
int32_t WriteSameOnEverySeries(const WriteInput& input, Steps steps) {
  if (ApiTable.QZ_InitialCustomizedSettingTable() == 0) return 0;
  return StageAndCommit(input, steps);
}

// Init, then the series is asked whatever Init returned, then the calls of
// that series.
int32_t WriteBySeries(const WriteInput& input, Steps t7Steps, Steps otherSteps) {
  const int32_t initResult = ApiTable.QZ_InitialCustomizedSettingTable();
  const bool isT7 = ApiTable.QZ_IsQZT7Series(currentDevice) != 0;
  if (initResult == 0) return 0;
  return StageAndCommit(input, isT7 ? t7Steps : otherSteps);
}

bool NonEmpty(const char* text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

int32_t OpSetVendorId(const char* vidText) {
  // The id text is the library's to judge; only a missing one is refused.
  if (!OperationAccepted(vidText != nullptr)) return 0;
  return WriteSameOnEverySeries(
      {vidText}, {One(&ApiEntryTable::QZ_EnableUpdateVID), First(&ApiEntryTable::QZ_SetVIDValue)});
}

int32_t OpSetProductId(const char* pidText) {
  if (!OperationAccepted(pidText != nullptr)) return 0;
  return WriteSameOnEverySeries(
      {pidText}, {One(&ApiEntryTable::QZ_EnableUpdatePID), First(&ApiEntryTable::QZ_SetPIDValue)});
}

int32_t OpSetSerialNumber(const char* serialNumber) {
  if (!OperationAccepted(NonEmpty(serialNumber))) return 0;
  return WriteBySeries(
      {serialNumber},
      {One(&ApiEntryTable::QZ_EnableUpdateSN), First(&ApiEntryTable::QZ_SetSerialNumStr)},
      {One(&ApiEntryTable::QZ_EnableUpdateSN), One(&ApiEntryTable::QZ_SetSNFromNVRAMTable),
       First(&ApiEntryTable::QZ_SetSerialNumStr)});
}

int32_t OpSetManufacturerString(const char* manufacturer) {
  if (!OperationAccepted(NonEmpty(manufacturer))) return 0;
  return WriteBySeries(
      {manufacturer},
      {One(&ApiEntryTable::QZ_EnableUpdateManuProdCtl), One(&ApiEntryTable::QZ_SetManuProdCtl),
       First(&ApiEntryTable::QZ_SetUsbManuString)},
      {One(&ApiEntryTable::QZ_EnableUpdateManuStr), First(&ApiEntryTable::QZ_SetManuStr)});
}

int32_t OpSetProductString(const char* product) {
  if (!OperationAccepted(NonEmpty(product))) return 0;
  return WriteBySeries(
      {product},
      {One(&ApiEntryTable::QZ_EnableUpdateManuProdCtl), One(&ApiEntryTable::QZ_SetManuProdCtl),
       First(&ApiEntryTable::QZ_SetUsbProdString)},
      {One(&ApiEntryTable::QZ_EnableUpdateProdStr), First(&ApiEntryTable::QZ_SetProdString)});
}

int32_t OpSetStandbyTimer(int32_t seconds) {
  if (!OperationAccepted(seconds >= 0)) return 0;
  // The QZT7 series takes the timer in one direct call, without staging.
  if (ApiTable.QZ_IsQZT7Series(currentDevice) != 0) {
    return ApiTable.QZ_UpdateT7StandbyTimer(currentDevice, seconds) != 0 ? 1 : 0;
  }
  const int32_t result = WriteSameOnEverySeries({nullptr, nullptr, seconds},
                                                {One(&ApiEntryTable::QZ_EnableUpdateStandbyTimer),
                                                 Seconds(&ApiEntryTable::QZ_SetStandbyTimer)});
  return result != 0 ? 1 : 0;
}

int32_t OpSetHDDString(const char* hddString1, const char* hddString2) {
  // Empty strings are valid values; only missing ones are refused.
  if (!OperationAccepted(hddString1 != nullptr && hddString2 != nullptr)) return 0;
  return WriteBySeries(
      {hddString1, hddString2},
      {One(&ApiEntryTable::QZ_EnableUpdateInquiryCtl), First(&ApiEntryTable::QZ_SetScsiVidString),
       Second(&ApiEntryTable::QZ_SetScsiPidString), One(&ApiEntryTable::QZ_SetInquiryCtl)},
      {One(&ApiEntryTable::QZ_EnableUpdateDisplayHDDStrSetting),
       First(&ApiEntryTable::QZ_SetScsiVidString), Second(&ApiEntryTable::QZ_SetScsiPidString),
       One(&ApiEntryTable::QZ_EnableMapToHDDStr)});
}
