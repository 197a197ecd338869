// Value lines that both front ends print the same way.
#pragma once

#include "ops/customized_setting.h"

// "FW version: %s\n", or "FW version: Internal code\n" for the text the
// library reports while the bridge runs its internal code.
void PrintFWVersion(const char* versionText);

// The value lines of a whole settings read; the menu's single readers print
// the same lines, the command line's own for three of them.
constexpr const char* kVidLine = "VID: 0x%04X\n";
constexpr const char* kPidLine = "PID: 0x%04X\n";
constexpr const char* kManufacturerLine = "Manufacturer string : %s\n";
constexpr const char* kProductLine = "Product string : %s\n";
constexpr const char* kSerialNumberLine = "Serial number: %s\n";
constexpr const char* kHddStringLine = "HDD String: %s\n";
constexpr const char* kStandbyTimerLine = "Standby Timer : %d (sec)\n";

// The seven lines of a whole settings read, in the order vid, pid,
// manufacturer, product, serial number, HDD string, standby timer.
void PrintCustomizedSetting(const CustomizedSetting& setting);
