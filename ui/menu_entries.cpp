#include "ui/menu_entries.h"

#include "runtime/console.h"
#include "ui/value_lines.h"

namespace ui {

namespace {

int32_t GetFWVersion(const char* device, MenuWork& work) {
  const int32_t result = ops::OpGetFWVersion(device, work.versionText);
  PrintFWVersion(work.versionText);  // whatever the result: an empty version on failure
  return result;
}

int32_t GetCustomizedSetting(const char* device, MenuWork& work) {
  const int32_t result = ops::OpGetCustomizedSetting(device, &work.setting);
  if (result != 0) PrintCustomizedSetting(work.setting);
  return result;
}

constexpr MenuQuestion kAskPath = {"Input FW file path: \n", kFirmwarePathAnswer};
constexpr MenuQuestion kAskHdd1 = {"Input HDD String1: \n", "hdd1"};
constexpr MenuQuestion kAskHdd2 = {"Input HDD String2: \n", "hdd2"};

}  // namespace

const MenuEntry kMenuEntries[kMenuEntryCount] = {
    {kShowHelpNumber, "Show Help", false, nullptr, {}},
    {2, "Get FW version", false, GetFWVersion, {}},
    {3,
     "Update firmware and customized settings from bin",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpUpdateFromBin(device, work.firmwarePath);
     },
     {kAskPath}},
    {4,
     "Update firmware without customized settings",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpUpdateNoCustomizedSetting(device, work.firmwarePath);
     },
     {kAskPath}},
    {5,
     "Update firmware and customized settings",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpUpdateWithCustomizedSetting(device, &work.setting, work.firmwarePath);
     },
     {kAskPath,
      {"Input VID: \n", "vid"},
      {"Input PID: \n", "pid"},
      {"Input Manufacturer String: \n", "manufacturer"},
      {"Input Product String: \n", "product"},
      {"Input Serial Number: \n", "serial"},
      kAskHdd1,
      kAskHdd2,
      {"Input Timer: \n", "timer"}}},
    {6, "Get customized settings from device", false, GetCustomizedSetting, {}},
    {7,
     "Get vendor id from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetVendorId(device, &work.setting.vid), kVidLine,
                            work.setting.vid);
     },
     {}},
    {8,
     "Set vendor id",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetVendorId(device, work.setting.vidText);
     },
     {{"Input VID: \n", "vid"}}},
    {9,
     "Get product id from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetProductId(device, &work.setting.pid), kPidLine,
                            work.setting.pid);
     },
     {}},
    {10,
     "Set product id",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetProductId(device, work.setting.pidText);
     },
     {{"Input PID: \n", "pid"}}},
    {11,
     "Get serial number from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetSerialNumber(device, work.setting.serialNumber),
                            kSerialNumberLine, work.setting.serialNumber);
     },
     {}},
    {12,
     "Set serial number",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetSerialNumber(device, work.setting.serialNumber);
     },
     {{"Input SN: \n", "serial"}}},
    {13,
     "Get manufacturer string from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetManufacturerString(device, work.setting.manufacturer),
                            kManufacturerLine, work.setting.manufacturer);
     },
     {}},
    {14,
     "Set manufacturer string",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetManufacturerString(device, work.setting.manufacturer);
     },
     {{"Input manufacture string: \n", "manufacturer"}}},
    {15,
     "Get product information from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetProductString(device, work.setting.product), kProductLine,
                            work.setting.product);
     },
     {}},
    {16,
     "Set product information",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetProductString(device, work.setting.product);
     },
     {{"Input product string: \n", "product"}}},
    {17,
     "Get standby timer from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetStandbyTimer(device, &work.setting.standbyTimer),
                            kStandbyTimerLine, work.setting.standbyTimer);
     },
     {}},
    {18,
     "Set standby timer",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetStandbyTimer(device, work.setting.standbyTimer);
     },
     {{"Input Standby Timer value(unit: second): \n", "timer"}}},
    {19,
     "Get HDD string from device",
     false,
     [](const char* device, MenuWork& work) {
       return WithValueLine(ops::OpGetHDDString(device, work.setting.hddString), kHddStringLine,
                            work.setting.hddString);
     },
     {}},
    {20,
     "Set HDD string",
     true,
     [](const char* device, MenuWork& work) {
       return ops::OpSetHDDString(device, work.setting.hddString1, work.setting.hddString2);
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

}  // namespace ui
