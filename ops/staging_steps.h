// Staging calls as data: the settings writes and the update with settings
// both hand the library a row of enable and set calls, in a fixed order,
// each result tested.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "ops/customized_setting.h"
#include "sdk/api_table.h"

namespace ops {

using FlagEntry = sdk::EntryPoint<int32_t(QZ_CALL*)(const char* device, int32_t value)>;
using TextEntry = sdk::EntryPoint<int32_t(QZ_CALL*)(const char* device, const char* text)>;

// The values a row of calls hands over: texts by index, and the seconds.
constexpr int kMaxStagingTexts = 7;
struct StagingValues {
  const char* texts[kMaxStagingTexts];
  int32_t seconds;
};

// One call after the device: the constant 1, the seconds, or a text; tagged
// with the settings (SettingBit) it serves.
struct StagingStep {
  FlagEntry sdk::ApiEntryTable::*flagEntry;
  TextEntry sdk::ApiEntryTable::*textEntry;
  int textIndex;
  bool givesSeconds;
  uint32_t settings;
};

// The steps: a flag set to 1 (on), the seconds, or the text at textIndex;
// settings: the settings a step serves (all, unless a table says otherwise).
constexpr StagingStep FlagOn(FlagEntry sdk::ApiEntryTable::*entry,
                             uint32_t settings = kAllSettings) {
  return {entry, nullptr, 0, false, settings};
}
constexpr StagingStep Seconds(FlagEntry sdk::ApiEntryTable::*entry,
                              uint32_t settings = kAllSettings) {
  return {entry, nullptr, 0, true, settings};
}
constexpr StagingStep Text(TextEntry sdk::ApiEntryTable::*entry, int textIndex,
                           uint32_t settings = kAllSettings) {
  return {nullptr, entry, textIndex, false, settings};
}

using StagingSteps = std::initializer_list<StagingStep>;

// Makes the calls that serve a selected setting, in order; false at the first
// the library refuses, after which no further call is made.
bool RunStagingSteps(const char* device, StagingSteps steps, const StagingValues& values,
                     uint32_t selection = kAllSettings);

// The staging of the update with settings, by series, limited to the calls
// that serve the selected settings (each call once, in the table's order).
bool StageSettings(const char* device, bool isT7, const CustomizedSetting& setting,
                   uint32_t selection);

}  // namespace ops
