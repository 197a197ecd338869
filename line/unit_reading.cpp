#include "line/unit_reading.h"

#include <cstdio>
#include <cstring>

#include "sdk/api_table.h"

namespace line {

using ops::SettingRow;
using sdk::RefusalWatch;

bool ReadUnit(const char* device, UnitReading* reading) {
  *reading = UnitReading();
  reading->isT7 = sdk::ApiTable.QZ_IsQZT7Series(device) != 0;
  reading->versionResult = ops::OpGetFWVersion(device, reading->version);
  return ops::OpGetCustomizedSetting(device, &reading->setting) != 0;
}

const char* SeriesName(const UnitReading& reading) { return reading.isT7 ? "t7" : "other"; }

const char* ModeName(const UnitReading& reading) {
  if (reading.versionResult == 0) return "unknown";
  return std::strcmp(reading.version, ops::kInternalCodeText) == 0 ? "internal" : "firmware";
}

Json SettingJson(const SettingRow& row, const std::string& text) {
  if (row.rule == ops::SettingRule::kSeconds) return std::stoll(text);
  return text;
}

Json ReadingJson(const UnitReading& reading) {
  Json json = {{"version", reading.version}};
  for (const SettingRow& row : ops::kSettingRows) {
    json[row.name] = SettingJson(row, row.readText(reading.setting));
  }
  return json;
}

Json ReadWhatAnswers(const char* device, Json* messages) {
  Json fields = Json::object();
  const auto answered = [&](const char* name, bool read, const RefusalWatch& watch) {
    const char* call = watch.FirstRefused();
    if (read && call == nullptr) return true;
    messages->push_back(std::string("after: ") + name + " not read" +
                        (call != nullptr ? std::string(" (") + call + " failed)" : ""));
    return false;
  };
  char version[kLibraryTextSize] = {};
  const RefusalWatch versionWatch;
  if (answered("version", ops::OpGetFWVersion(device, version) != 0, versionWatch)) {
    fields["version"] = version;
  }
  for (const SettingRow& row : ops::kSettingRows) {
    ops::CustomizedSetting read = {};
    const RefusalWatch watch;
    if (answered(row.name, row.readAlone(device, &read) != 0, watch)) {
      fields[row.name] = SettingJson(row, row.readText(read));
    }
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

}  // namespace line
