#include "ui/menu_entries.h"

#include "app/console.h"
#include "ui/value_lines.h"

namespace {

int32_t GetFWVersion(const char* device, MenuWork& w) {
  const int32_t result = OpGetFWVersion(device, w.versionText);
  PrintFWVersion(w.versionText);  // whatever the result: an empty version on failure
  return result;
}

int32_t GetCustomizedSetting(const char* device, MenuWork& w) {
  const int32_t result = OpGetCustomizedSetting(device, &w.setting);
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
     [](const char* device, MenuWork& w) { return OpUpdateFromBin(device, w.firmwarePath); },
     {kAskPath}},
    {4,
     "Update firmware without customized settings",
     true,
     [](const char* device, MenuWork& w) {
       return OpUpdateNoCustomizedSetting(device, w.firmwarePath);
     },
     {kAskPath}},
    {5,
     "Update firmware and customized settings",
     true,
     [](const char* device, MenuWork& w) {
       return OpUpdateWithCustomizedSetting(device, &w.setting, w.firmwarePath);
     },
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
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetVendorId(device, &w.setting.vid), kVidLine, w.setting.vid);
     },
     {}},
    {8,
     "Set vendor id",
     true,
     [](const char* device, MenuWork& w) { return OpSetVendorId(device, w.setting.vidText); },
     {{"Input VID: \n", MenuField::kVidText}}},
    {9,
     "Get product id from device",
     false,
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetProductId(device, &w.setting.pid), kPidLine, w.setting.pid);
     },
     {}},
    {10,
     "Set product id",
     true,
     [](const char* device, MenuWork& w) { return OpSetProductId(device, w.setting.pidText); },
     {{"Input PID: \n", MenuField::kPidText}}},
    {11,
     "Get serial number from device",
     false,
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetSerialNumber(device, w.setting.serialNumber), kSerialNumberLine,
                            w.setting.serialNumber);
     },
     {}},
    {12,
     "Set serial number",
     true,
     [](const char* device, MenuWork& w) {
       return OpSetSerialNumber(device, w.setting.serialNumber);
     },
     {{"Input SN: \n", MenuField::kSerialNumber}}},
    {13,
     "Get manufacturer string from device",
     false,
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetManufacturerString(device, w.setting.manufacturer),
                            kManufacturerLine, w.setting.manufacturer);
     },
     {}},
    {14,
     "Set manufacturer string",
     true,
     [](const char* device, MenuWork& w) {
       return OpSetManufacturerString(device, w.setting.manufacturer);
     },
     {{"Input manufacture string: \n", MenuField::kManufacturer}}},
    {15,
     "Get product information from device",
     false,
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetProductString(device, w.setting.product), kProductLine,
                            w.setting.product);
     },
     {}},
    {16,
     "Set product information",
     true,
     [](const char* device, MenuWork& w) { return OpSetProductString(device, w.setting.product); },
     {{"Input product string: \n", MenuField::kProduct}}},
    {17,
     "Get standby timer from device",
     false,
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetStandbyTimer(device, &w.setting.standbyTimer), kStandbyTimerLine,
                            w.setting.standbyTimer);
     },
     {}},
    {18,
     "Set standby timer",
     true,
     [](const char* device, MenuWork& w) {
       return OpSetStandbyTimer(device, w.setting.standbyTimer);
     },
     {{"Input Standby Timer value(unit: second): \n", MenuField::kStandbyTimer}}},
    {19,
     "Get HDD string from device",
     false,
     [](const char* device, MenuWork& w) {
       return WithValueLine(OpGetHDDString(device, w.setting.hddString), kHddStringLine,
                            w.setting.hddString);
     },
     {}},
    {20,
     "Set HDD string",
     true,
     [](const char* device, MenuWork& w) {
       return OpSetHDDString(device, w.setting.hddString1, w.setting.hddString2);
     },
     {kAskHdd1, kAskHdd2}},
    {kExitNumber, "Exit", false, nullptr, {}},
};

const MenuEntry* FindMenuEntry(int32_t number) {
  for (const MenuEntry& entry : kMenuEntries) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}
