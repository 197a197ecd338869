// What the line reads of a unit, through the operations, and its JSON form.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "ops/operations.h"

struct UnitReading {
  bool isT7 = false;
  int32_t versionResult = 0;  // OpGetFWVersion's
  char version[kLibraryTextSize] = {};
  CustomizedSetting setting = {};
};

using Json = nlohmann::ordered_json;

// The series, the firmware version and the seven settings. False when the
// settings read failed (a unit whose version is unknown can still be read).
bool ReadUnit(const char* device, UnitReading* reading);

const char* SeriesName(const UnitReading& reading);
// "firmware", "internal" or "unknown", as the version query answered.
const char* ModeName(const UnitReading& reading);

// An id as four upper-case hex digits: "1A2B".
std::string HexId(uint16_t id);

// version, vid, pid, manufacturer, product, serial, hdd, timer.
Json ReadingJson(const UnitReading& reading);
