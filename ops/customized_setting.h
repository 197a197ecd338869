// The customized-setting record shared by the front ends and the operations.
#pragma once

#include <cstdint>

#include "sdk/api_sizes.h"

namespace ops {

struct CustomizedSetting {
  uint16_t vid;
  uint16_t pid;
  char vidText[kIdTextSize];
  char pidText[kIdTextSize];
  char manufacturer[kLibraryTextSize];
  char product[kLibraryTextSize];
  char serialNumber[kLibraryTextSize];
  char hddString1[kLibraryTextSize];
  char hddString2[kLibraryTextSize];
  char hddString[kLibraryTextSize];
  int32_t standbyTimer;
};

// Settings by name, as bits: which of the record's settings a write names.
enum SettingBit : uint32_t {
  kSettingVid = 1U << 0,
  kSettingPid = 1U << 1,
  kSettingManufacturer = 1U << 2,
  kSettingProduct = 1U << 3,
  kSettingSerial = 1U << 4,
  kSettingHdd = 1U << 5,  // both HDD strings: the library takes them together
  kSettingTimer = 1U << 6,
};
constexpr uint32_t kAllSettings = (1U << 7) - 1;

}  // namespace ops
