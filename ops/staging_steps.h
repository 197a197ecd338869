// Staging calls as data: the settings writes and the update with settings
// both hand the library a row of enable and set calls, in a fixed order,
// each result tested.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "sdk/api_table.h"

using FlagEntry = EntryPoint<int32_t(QZ_CALL*)(const char* device, int32_t value)>;
using TextEntry = EntryPoint<int32_t(QZ_CALL*)(const char* device, const char* text)>;

// The values a row of calls hands over: texts by index, and the seconds.
constexpr int kMaxStagingTexts = 7;
struct StagingValues {
  const char* texts[kMaxStagingTexts];
  int32_t seconds;
};

// One call after the device: the constant 1, the seconds, or a text.
struct StagingStep {
  FlagEntry ApiEntryTable::*flagEntry;
  TextEntry ApiEntryTable::*textEntry;
  int textIndex;
  bool givesSeconds;
};

// The steps: a flag set to 1 (on), the seconds, or the text at textIndex.
constexpr StagingStep FlagOn(FlagEntry ApiEntryTable::*entry) { return {entry, nullptr, 0, false}; }
constexpr StagingStep Seconds(FlagEntry ApiEntryTable::*entry) { return {entry, nullptr, 0, true}; }
constexpr StagingStep Text(TextEntry ApiEntryTable::*entry, int textIndex) {
  return {nullptr, entry, textIndex, false};
}

using StagingSteps = std::initializer_list<StagingStep>;

// Makes the calls in order; false at the first the library refuses, after
// which no further call is made.
bool RunStagingSteps(const char* device, StagingSteps steps, const StagingValues& values);
