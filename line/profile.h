// A line's profile: the TOML file that says what every unit is brought to.
#pragma once

#include <cstdint>
#include <string>

#include "ops/customized_setting.h"

namespace line {

struct Profile {
  std::string path;                    // as given
  std::string image;                   // resolved against the profile's folder; empty: none
  std::string libraryImage;            // the image's path as the library reads it
  uint32_t settings = 0;               // the settings it names (SettingBit)
  ops::CustomizedSetting values = {};  // vidText, pidText, the texts, hddString1/2, standbyTimer
  std::string serial;                  // as written, with its {n} or {n:WIDTH}
  bool numberedSerial = false;
  uint64_t serialStart = 1;
  uint64_t serialEnd = UINT64_MAX;  // the last number this profile may hand out
};

// Reads and checks the profile at path. On any fault: false and why, one
// line naming the file, the line and the key ("line.toml:3: vid: ...").
bool LoadProfile(const std::string& path, Profile* profile, std::string* why);

// The serial for number n: {n} becomes n, {n:WIDTH} n zero-padded to WIDTH.
std::string FillSerial(const std::string& serial, uint64_t n);

// Text without control characters (what a path in the profile may hold).
bool PrintableText(const std::string& text);

// Whether a setting's text can stand in a profile: printable ASCII, as the
// bridge takes it.
bool ProfileTakesText(const std::string& text);

// The folder part of a path, with its separator ("" for none).
std::string FolderOf(const std::string& path);

}  // namespace line
