#include "ui/value_lines.h"

#include <cstring>

#include "runtime/console.h"

namespace ui {

using runtime::ConsolePrint;

void PrintFWVersion(const char* versionText) {
  if (std::strcmp(versionText, "00.00.00.00") == 0) {
    ConsolePrint("FW version: Internal code\n");
  } else {
    ConsolePrint("FW version: %s\n", versionText);
  }
}

void PrintCustomizedSetting(const ops::CustomizedSetting& setting) {
  ConsolePrint(kVidLine, static_cast<unsigned>(setting.vid));
  ConsolePrint(kPidLine, static_cast<unsigned>(setting.pid));
  ConsolePrint(kManufacturerLine, setting.manufacturer);
  ConsolePrint(kProductLine, setting.product);
  ConsolePrint(kSerialNumberLine, setting.serialNumber);
  ConsolePrint(kHddStringLine, setting.hddString);
  ConsolePrint(kStandbyTimerLine, static_cast<int>(setting.standbyTimer));
}

}  // namespace ui
