#include "ui/menu_entries.h"

#include "app/console.h"
#include "ui/value_lines.h"

namespace {

int32_t GetFWVersion(MenuWork& w) {
  const int32_t result = OpGetFWVersion(w.versionText);
  PrintFWVersion(w.versionText);  // whatever the result: an empty version on failure
  return result;
}

int32_t GetCustomizedSetting(MenuWork& w) {
  const int32_t result = OpGetCustomizedSetting(&w.setting);
  if (result != 0) PrintCustomizedSetting(w.setting);
  return result;
}

constexpr MenuQuestion kAskPath = {"Input FW file path: \n", MenuField::kFirmwarePath};
constexpr MenuQuestion kAskHdd1 = {"Input HDD String1: \n", MenuField::kHddString1};
constexpr MenuQuestion kAskHdd2 = {"Input HDD String2: \n", MenuField::kHddString2};

}  // namespace

const MenuEntry kMenuEntries[kMenuEntryCount] = {
    {kShowHelpNumber, "Show Help", false, nullptr, {}},
    {2, "Get FW version", false, GetFWVersion, {}},
    {3,
     "Update firmware and customized settings from bin",
     true,
     [](MenuWork& w) { return OpUpdateFromBin(w.firmwarePath); },
     {kAskPath}},
    {4,
     "Update firmware without customized settings",
     true,
     [](MenuWork& w) { return OpUpdateNoCustomizedSetting(w.firmwarePath); },
     {kAskPath}},
    {5,
     "Update firmware and customized settings",
     true,
     [](MenuWork& w) { return OpUpdateWithCustomizedSetting(&w.setting, w.firmwarePath); },
     {kAskPath,
      {"Input VID: \n", MenuField::kVidText},
      {"Input PID: \n", MenuField::kPidText},
      {"Input Manufacturer String: \n", MenuField::kManufacturer},
      {"Input Product String: \n", MenuField::kProduct},
      {"Input Serial Number: \n", MenuField::kSerialNumber},
      kAskHdd1,
      kAskHdd2,
      {"Input Timer: \n", MenuField::kStandbyTimer}}},
    {6, "Get customized settings from device", false, GetCustomizedSetting, {}},
    {7,
     "Get vendor id from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetVendorId(&w.setting.vid), kVidLine, w.setting.vid);
     },
     {}},
    {8,
     "Set vendor id",
     true,
     [](MenuWork& w) { return OpSetVendorId(w.setting.vidText); },
     {{"Input VID: \n", MenuField::kVidText}}},
    {9,
     "Get product id from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetProductId(&w.setting.pid), kPidLine, w.setting.pid);
     },
     {}},
    {10,
     "Set product id",
     true,
     [](MenuWork& w) { return OpSetProductId(w.setting.pidText); },
     {{"Input PID: \n", MenuField::kPidText}}},
    {11,
     "Get serial number from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetSerialNumber(w.setting.serialNumber), kSerialNumberLine,
                            w.setting.serialNumber);
     },
     {}},
    {12,
     "Set serial number",
     true,
     [](MenuWork& w) { return OpSetSerialNumber(w.setting.serialNumber); },
     {{"Input SN: \n", MenuField::kSerialNumber}}},
    {13,
     "Get manufacturer string from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetManufacturerString(w.setting.manufacturer), kManufacturerLine,
                            w.setting.manufacturer);
     },
     {}},
    {14,
     "Set manufacturer string",
     true,
     [](MenuWork& w) { return OpSetManufacturerString(w.setting.manufacturer); },
     {{"Input manufacture string: \n", MenuField::kManufacturer}}},
    {15,
     "Get product information from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetProductString(w.setting.product), kProductLine, w.setting.product);
     },
     {}},
    {16,
     "Set product information",
     true,
     [](MenuWork& w) { return OpSetProductString(w.setting.product); },
     {{"Input product string: \n", MenuField::kProduct}}},
    {17,
     "Get standby timer from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetStandbyTimer(&w.setting.standbyTimer), kStandbyTimerLine,
                            w.setting.standbyTimer);
     },
     {}},
    {18,
     "Set standby timer",
     true,
     [](MenuWork& w) { return OpSetStandbyTimer(w.setting.standbyTimer); },
     {{"Input Standby Timer value(unit: second): \n", MenuField::kStandbyTimer}}},
    {19,
     "Get HDD string from device",
     false,
     [](MenuWork& w) {
       return WithValueLine(OpGetHDDString(w.setting.hddString), kHddStringLine,
                            w.setting.hddString);
     },
     {}},
    {20,
     "Set HDD string",
     true,
     [](MenuWork& w) { return OpSetHDDString(w.setting.hddString1, w.setting.hddString2); },
     {kAskHdd1, kAskHdd2}},
    {kExitNumber, "Exit", false, nullptr, {}},
};

const MenuEntry* FindMenuEntry(int32_t number) {
  for (const MenuEntry& entry : kMenuEntries) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}
