#include "line/saved_profile.h"

#include <toml++/toml.h>

#include <sstream>

#include "line/device_choice.h"
#include "line/exit_status.h"
#include "line/profile.h"
#include "line/unit_reading.h"
#include "platform/files.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "runtime/tool_version.h"

namespace line {

using ops::SettingRule;
using runtime::ConsolePrint;
using runtime::DeviceList;

namespace {

// The rows a golden unit gives the line: what the profile would take back,
// and a comment for each value it would not, so that what is saved loads.
void AddSavedKeys(const ops::CustomizedSetting& unit, toml::table* keys, std::string* leftOut) {
  for (const ops::SettingRow& row : ops::kSettingRows) {
    if (!row.savedInProfile) continue;
    const std::string text = row.readText(unit);
    const std::string name = row.name;
    if (row.rule == SettingRule::kSeconds && unit.standbyTimer >= 0) {
      keys->insert(name, unit.standbyTimer);
    } else if (row.rule == SettingRule::kSeconds) {
      *leftOut += "# " + name + " left out: the unit's is below 0\n";
    } else if (text.empty() && row.rule == SettingRule::kNonEmptyText) {
      *leftOut += "# " + name + " left out: the unit's is empty, and a profile takes none\n";
    } else if (!ProfileTakesText(text)) {
      *leftOut += "# " + name + " left out: the unit's is not printable ASCII\n";
    } else {
      keys->insert(name, text);
    }
  }
}

// The serial is each unit's own and the HDD strings read back joined, so
// neither is written as a key.
std::string SavedProfile(const char* path, const UnitReading& unit) {
  const ops::CustomizedSetting& s = unit.setting;
  toml::table keys;
  std::string leftOut;
  AddSavedKeys(s, &keys, &leftOut);
  std::ostringstream text;
  text << "# Saved by bridgefw " << runtime::kToolVersion << " from " << path << " ("
       << unit.version << ").\n"
       << "# Its serial was " << toml::value<std::string>(s.serialNumber)
       << "; give each unit its own with serial = \"PREFIX-{n:6}\".\n"
       << "# Its HDD strings read back as one, " << toml::value<std::string>(s.hddString)
       << "; name hdd1 and hdd2 to write them.\n"
       << leftOut << keys << "\n";
  return text.str();
}

}  // namespace

int SaveProfile(const LineRequest& request) {
  int status = kLineAllPassed;
  const int index = ChooseUnit(request, &status);
  if (index < 0) return status;
  UnitReading unit;
  if (!ReadUnit(DeviceList[index], &unit)) {
    ConsolePrint("Reading %s failed\n", ShownText(DeviceList[index]).c_str());
    return kLineUnitFailed;
  }
  std::string why;
  if (!platform::CreateNewFile(request.savePath, SavedProfile(DeviceList[index], unit), &why)) {
    ConsolePrint("%s\n", why.c_str());
    return kLineUsageError;
  }
  ConsolePrint("Saved %s as %s\n", ShownText(DeviceList[index]).c_str(), request.savePath);
  return kLineAllPassed;
}

}  // namespace line
