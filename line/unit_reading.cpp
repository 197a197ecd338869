#include "line/unit_reading.h"

#include <cstdio>
#include <cstring>

#include "sdk/api_table.h"

bool ReadUnit(const char* device, UnitReading* reading) {
  *reading = UnitReading();
  reading->isT7 = ApiTable.QZ_IsQZT7Series(device) != 0;
  reading->versionResult = OpGetFWVersion(device, reading->version);
  return OpGetCustomizedSetting(device, &reading->setting) != 0;
}

const char* SeriesName(const UnitReading& reading) { return reading.isT7 ? "t7" : "other"; }

const char* ModeName(const UnitReading& reading) {
  if (reading.versionResult == 0) return "unknown";
  return std::strcmp(reading.version, kInternalCodeText) == 0 ? "internal" : "firmware";
}

std::string HexId(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", id);
  return text;
}

Json ReadingJson(const UnitReading& reading) {
  const CustomizedSetting& s = reading.setting;
  return Json{{"version", reading.version}, {"vid", HexId(s.vid)},
              {"pid", HexId(s.pid)},        {"manufacturer", s.manufacturer},
              {"product", s.product},       {"serial", s.serialNumber},
              {"hdd", s.hddString},         {"timer", s.standbyTimer}};
}
