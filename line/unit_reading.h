// What the line reads of a unit, through the operations, and its JSON form.
#pragma once

#include <string>

#include "line/json_line.h"
#include "ops/operations.h"
#include "ops/setting_table.h"

namespace line {

struct UnitReading {
  bool isT7 = false;
  int32_t versionResult = 0;  // OpGetFWVersion's
  char version[kLibraryTextSize] = {};
  ops::CustomizedSetting setting = {};
};

// The series, the firmware version and the seven settings. False when the
// settings read failed; a refused version or mode query shows only in the
// caller's RefusalWatch (the line fails such a unit, the reading goes on).
bool ReadUnit(const char* device, UnitReading* reading);

const char* SeriesName(const UnitReading& reading);
// "firmware", "internal" or "unknown", as the version query answered.
const char* ModeName(const UnitReading& reading);

// A setting's read form in JSON: the timer a number, every other a text.
Json SettingJson(const ops::SettingRow& row, const std::string& text);

// version, then every setting by its name.
Json ReadingJson(const UnitReading& reading);

// What a unit still answers, each field read alone (as after a failed
// write): a field that cannot be read is left out, and a message says so.
Json ReadWhatAnswers(const char* device, Json* messages);

// Text from a device as the text output shows it: control bytes, bytes
// past ASCII and the backslash escaped, as the JSON output escapes them.
std::string ShownText(const std::string& text);

}  // namespace line
