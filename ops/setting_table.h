// The seven customized settings as data, one row each, in the record's
// order. A row says how a setting is named, how it is asked for (the wanted
// form: the texts of the record handed to a writer), how a unit reports it
// (the read form: the record a read fills), how the two compare, and how it
// is read alone. The front ends loop over this table: a new setting is one
// row here, plus its entry points, its staging rows and its reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ops/customized_setting.h"

namespace ops {

// How a wanted value is checked.
enum class SettingRule {
  kHexId,         // 1 to 4 hex digits
  kText,          // a text, possibly empty
  kNonEmptyText,  // what the single writers refuse empty
  kSeconds,       // a number, 0 or more
};

struct SettingRow {
  const char* name;  // the profile key and the record's field
  uint32_t bit;      // SettingBit
  SettingRule rule;
  char letter;           // its sub-option of -ue
  const char* parts[2];  // the profile keys that ask for it: one, or hdd1 and hdd2
  bool savedInProfile;   // a golden unit's value is the line's (the serial is each unit's)
  std::size_t capacity;  // of each wanted text, its terminator included
  // The wanted text of part 0 or 1 in a writer's record; null for the timer.
  char* (*wanted)(CustomizedSetting& write, int part);
  // The read form as the one text every front end shows and compares:
  // ids as four upper-case hex digits ("1A2B"), the timer in decimal.
  std::string (*readText)(const CustomizedSetting& read);
  // The read form the wanted value must give back.
  std::string (*plannedText)(const CustomizedSetting& write);
  // The unit's own value, read, put in a writer's record as if asked for.
  void (*keepOwn)(const CustomizedSetting& read, CustomizedSetting* write);
  // Reads it alone, into `read`; the operation's result.
  int32_t (*readAlone)(const char* device, CustomizedSetting* read);
};

constexpr int kSettingCount = 7;
extern const SettingRow kSettingRows[kSettingCount];

// The row of a setting or of a profile key asking for it (`part` then says
// which); null for none.
const SettingRow* FindSettingRow(const std::string& name, int* part = nullptr);

// Why a wanted text cannot be asked for this setting ("is empty"), or null.
const char* WantedTextFault(const SettingRow& row, const char* text);

// Whether `read` is what `write` asks of the row's setting: the HDD strings
// read back as one text, hdd1, blanks, hdd2 and nothing but blanks after it
// (a bridge pads the two SCSI fields with blanks).
bool ReadAsWanted(const SettingRow& row, const CustomizedSetting& write,
                  const CustomizedSetting& read);

// An id as four upper-case hex digits: "1A2B".
std::string IdText(uint16_t id);

}  // namespace ops
