#include "line/unit_plan.h"

#include "runtime/console.h"

namespace line {

using ops::CustomizedSetting;
using ops::kSettingRows;
using ops::SettingRow;

namespace {

bool Named(const Profile& profile, const SettingRow& row) {
  return (profile.settings & row.bit) != 0;
}

// The HDD strings are asked as two texts and read back as one.
std::string AskedText(const SettingRow& row, CustomizedSetting& asked) {
  if (row.parts[1] == nullptr) return row.plannedText(asked);
  return std::string(row.wanted(asked, 0)) + " then " + row.wanted(asked, 1);
}

}  // namespace

CustomizedSetting Asked(const Profile& profile, const Unit& unit) {
  CustomizedSetting asked = profile.values;
  for (const SettingRow& row : kSettingRows) {
    if (!Named(profile, row)) row.keepOwn(unit.before.setting, &asked);
  }
  if (Named(profile, *ops::FindSettingRow("serial"))) {
    std::snprintf(asked.serialNumber, sizeof asked.serialNumber, "%s", unit.serial.c_str());
  }
  return asked;
}

Json PlannedJson(const Profile& profile, const Unit& unit) {
  const CustomizedSetting asked = Asked(profile, unit);
  Json planned = {{"version", profile.image.empty() ? unit.before.version : ""}};
  for (const SettingRow& row : kSettingRows) {
    const std::string text =
        Named(profile, row) ? row.plannedText(asked) : row.readText(unit.before.setting);
    planned[row.name] = SettingJson(row, text);
  }
  return planned;
}

bool Verified(const Profile& profile, const Unit& unit) {
  CustomizedSetting asked = Asked(profile, unit);
  bool same = true;
  for (const SettingRow& row : kSettingRows) {
    const CustomizedSetting& read = unit.after.setting;
    const bool named = Named(profile, row);
    if (named ? ops::ReadAsWanted(row, asked, read)
              : row.readText(read) == row.readText(unit.before.setting)) {
      continue;
    }
    const std::string wanted = named ? AskedText(row, asked) : row.readText(unit.before.setting);
    runtime::ConsolePrint("%s: asked %s, read %s\n", row.name, ShownText(wanted).c_str(),
                          ShownText(row.readText(read)).c_str());
    same = false;
  }
  return same;
}

}  // namespace line
