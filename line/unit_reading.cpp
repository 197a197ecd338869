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

namespace {

// One field of what a unit answers, read alone.
struct FieldRead {
  const char* name;
  bool (*read)(const char* device, Json* value);
};

bool ReadText(int32_t (*op)(const char*, char*), const char* device, Json* value) {
  char text[kLibraryTextSize] = {};
  if (op(device, text) == 0) return false;
  *value = text;
  return true;
}

bool ReadId(int32_t (*op)(const char*, uint16_t*), const char* device, Json* value) {
  uint16_t id = 0;
  if (op(device, &id) == 0) return false;
  *value = HexId(id);
  return true;
}

const FieldRead kFieldReads[] = {
    {"version", [](const char* d, Json* v) { return ReadText(OpGetFWVersion, d, v); }},
    {"vid", [](const char* d, Json* v) { return ReadId(OpGetVendorId, d, v); }},
    {"pid", [](const char* d, Json* v) { return ReadId(OpGetProductId, d, v); }},
    {"manufacturer",
     [](const char* d, Json* v) { return ReadText(OpGetManufacturerString, d, v); }},
    {"product", [](const char* d, Json* v) { return ReadText(OpGetProductString, d, v); }},
    {"serial", [](const char* d, Json* v) { return ReadText(OpGetSerialNumber, d, v); }},
    {"hdd", [](const char* d, Json* v) { return ReadText(OpGetHDDString, d, v); }},
    {"timer",
     [](const char* d, Json* v) {
       int32_t seconds = 0;
       if (OpGetStandbyTimer(d, &seconds) == 0) return false;
       *v = seconds;
       return true;
     }},
};

}  // namespace

Json ReadWhatAnswers(const char* device, Json* messages) {
  Json fields = Json::object();
  for (const FieldRead& field : kFieldReads) {
    const RefusalWatch watch;
    Json value;
    if (field.read(device, &value) && watch.FirstRefused() == nullptr) {
      fields[field.name] = value;
      continue;
    }
    const char* call = watch.FirstRefused();
    messages->push_back(std::string("after: ") + field.name + " not read" +
                        (call != nullptr ? std::string(" (") + call + " failed)" : ""));
  }
  return fields;
}

std::string ShownText(const std::string& text) {
  std::string shown;
  for (const unsigned char c : text) {
    char escaped[8];
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      shown += static_cast<char>(c);
      continue;
    }
    std::snprintf(escaped, sizeof escaped,
                  c == '\\'  ? "\\\\"
                  : c < 0x80 ? "\\u%04x"
                             : "\\x%02X",
                  c);
    shown += escaped;
  }
  return shown;
}
