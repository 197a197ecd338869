// The menu's entries: number, text, questions, the device function, and
// whether a successful run is followed by the power-off notice.
#pragma once

#include <cstdint>

#include "ops/customized_setting.h"
#include "ops/operations.h"

namespace ui {

constexpr int32_t kShowHelpNumber = 1;
constexpr int32_t kExitNumber = 21;
constexpr int kMenuEntryCount = 21;
constexpr int kMaxMenuQuestions = 9;  // entry 5 asks the most

// What one RunMenuFunction call owns; zeroed as a whole at its start.
struct MenuWork {
  char versionText[kLibraryTextSize];
  char firmwarePath[kFirmwarePathSize];
  ops::CustomizedSetting setting;
};

// The answer that is no setting: the firmware image's path.
constexpr const char* kFirmwarePathAnswer = "path";

struct MenuQuestion {
  const char* prompt;  // null ends an entry's questions
  // Where the answer goes: kFirmwarePathAnswer, or the profile key of a
  // setting's wanted text ("vid", "hdd1"; "timer" is the one number).
  const char* answer;
};

struct MenuEntry {
  int32_t number;
  const char* text;
  bool notice;
  // Calls the operation on the device and prints what its result allows;
  // null for the two entries that run nothing (Show Help, Exit).
  int32_t (*run)(const char* device, MenuWork& work);
  MenuQuestion questions[kMaxMenuQuestions];
};

extern const MenuEntry kMenuEntries[kMenuEntryCount];

// The entry with that number, or null.
const MenuEntry* FindMenuEntry(int32_t number);

}  // namespace ui
