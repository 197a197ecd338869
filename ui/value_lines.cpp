#include "ui/value_lines.h"

#include <cstring>

#include "app/console.h"

void PrintFWVersion(const char* versionText) {
  if (std::strcmp(versionText, "00.00.00.00") == 0) {
    ConsolePrint("FW version: Internal code\n");
  } else {
    ConsolePrint("FW version: %s\n", versionText);
  }
}

void PrintCustomizedSetting(const CustomizedSetting& setting) {
  ConsolePrint("VID: 0x%04X\n", static_cast<unsigned>(setting.vid));
  ConsolePrint("PID: 0x%04X\n", static_cast<unsigned>(setting.pid));
  ConsolePrint("Manufacturer string : %s\n", setting.manufacturer);
  ConsolePrint("Product string : %s\n", setting.product);
  ConsolePrint("Serial number: %s\n", setting.serialNumber);
  ConsolePrint("HDD String: %s\n", setting.hddString);
  ConsolePrint("Standby Timer : %d (sec)\n", static_cast<int>(setting.standbyTimer));
}
