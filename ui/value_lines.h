// Value lines that both front ends print the same way.
#pragma once

#include <cstdint>

#include "ops/customized_setting.h"
#include "runtime/console.h"

namespace ui {

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
void PrintCustomizedSetting(const ops::CustomizedSetting& setting);

// A reader's value line, printed only after a successful read; returns the
// read's result. The value is taken by reference and read only after the
// operation filled it; ids print as unsigned, so "%04X" sees the 16-bit value.
inline unsigned PrintableValue(uint16_t id) { return id; }
inline int PrintableValue(int32_t value) { return value; }
inline const char* PrintableValue(const char* text) { return text; }

template <typename T>
int32_t WithValueLine(int32_t result, const char* format, const T& value) {
  if (result != 0) runtime::ConsolePrint(format, PrintableValue(value));
  return result;
}

}  // namespace ui
