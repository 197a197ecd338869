// The customized-setting record shared by the front ends and the operations.
#pragma once

#include <cstdint>

#include "sdk/api_sizes.h"

constexpr int kSettingTextSize = kLibraryTextSize;

struct CustomizedSetting {
  uint16_t vid;
  uint16_t pid;
  char vidText[kIdTextSize];
  char pidText[kIdTextSize];
  char manufacturer[kSettingTextSize];
  char product[kSettingTextSize];
  char serialNumber[kSettingTextSize];
  char hddString1[kSettingTextSize];
  char hddString2[kSettingTextSize];
  char hddString[kSettingTextSize];
  int32_t standbyTimer;
};
