#include "line/apply.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "line/serial_counter.h"
#include "line/sha256.h"
#include "line/unit_reading.h"
#include "platform/files.h"
#include "platform/process.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "ui/tool_version.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// How a step ended: a call refused (the operation's result was 0), or a
// value or a rule was wrong.
enum class StepEnd { kPass, kRefused, kWrong };

struct Run {
  const LineRequest& request;
  const Profile& profile;
  std::string host;
  std::string imageSha256;
  uint64_t imageSize = 0;
  // A dry run takes no number: the units it shows count on from the counter's
  // next one, as a real run would hand them out.
  mutable uint64_t serialsPreviewed = 0;
};

struct Unit {
  int index = 0;  // into DeviceList
  int ordinal = 0;
  int total = 0;
  const char* path = nullptr;
  std::string time;
  UnitReading before;
  UnitReading after;  // read back, or planned in a dry run
  bool beforeRead = false;
  bool afterKnown = false;
  std::string serial;
  Json messages = Json::array();
  const char* failedStep = nullptr;
  std::string failedCall;
};

// One step of a unit: its progress line, the operations' messages under it,
// and on failure which step and which call.
bool Step(const Run& run, Unit& unit, const char* step, std::string label,
          const std::function<StepEnd(std::string* label)>& body) {
  ForgetRefusedEntry();
  std::string captured;
  ConsoleCollectInto(&captured);
  const Clock::time_point start = Clock::now();
  const StepEnd end = body(&label);
  const double seconds = SecondsSince(start);
  ConsoleCollectInto(nullptr);
  const bool passed = end == StepEnd::kPass;
  if (!passed) {
    unit.failedStep = step;
    const char* call = RefusedEntryName();
    if (end == StepEnd::kRefused && call != nullptr) unit.failedCall = call;
  }
  std::vector<std::string> lines;
  for (size_t at = 0; at < captured.size();) {
    const size_t end_of_line = std::min(captured.find('\n', at), captured.size());
    lines.push_back(captured.substr(at, end_of_line - at));
    at = end_of_line + 1;
  }
  for (const std::string& line : lines) unit.messages.push_back(line);
  if (!run.request.json) {
    ConsolePrint("[%d/%d] %s: %s ... %s (%.1f s)\n", unit.ordinal, unit.total, unit.path,
                 label.c_str(), passed ? "PASS" : "FAIL", seconds);
    if (!unit.failedCall.empty()) ConsolePrint("  failed call: %s\n", unit.failedCall.c_str());
    for (const std::string& line : lines) ConsolePrint("  %s\n", line.c_str());
  }
  return passed;
}

bool Named(const Profile& profile, uint32_t setting) { return (profile.settings & setting) != 0; }

void CopyText(char (&field)[kLibraryTextSize], const std::string& text) {
  std::snprintf(field, sizeof field, "%s", text.c_str());
}

// What the unit should read back: its own settings with the profile's over
// them. The HDD strings show as hdd1, a blank, hdd2.
UnitReading Planned(const Profile& profile, const Unit& unit) {
  UnitReading planned = unit.before;
  CustomizedSetting& s = planned.setting;
  const CustomizedSetting& v = profile.values;
  if (Named(profile, kSettingVid))
    s.vid = static_cast<uint16_t>(std::strtoul(v.vidText, nullptr, 16));
  if (Named(profile, kSettingPid))
    s.pid = static_cast<uint16_t>(std::strtoul(v.pidText, nullptr, 16));
  if (Named(profile, kSettingManufacturer)) CopyText(s.manufacturer, v.manufacturer);
  if (Named(profile, kSettingProduct)) CopyText(s.product, v.product);
  if (Named(profile, kSettingSerial)) CopyText(s.serialNumber, unit.serial);
  if (Named(profile, kSettingHdd)) {
    CopyText(s.hddString, std::string(v.hddString1) + " " + v.hddString2);
  }
  if (Named(profile, kSettingTimer)) s.standbyTimer = v.standbyTimer;
  if (!profile.image.empty()) planned.version[0] = '\0';
  return planned;
}

// The record handed to the writing operation: the profile's texts, the
// unit's own for the settings the profile leaves out.
CustomizedSetting Asked(const Profile& profile, const Unit& unit) {
  CustomizedSetting asked = profile.values;
  const CustomizedSetting& own = unit.before.setting;
  std::snprintf(asked.vidText, sizeof asked.vidText, "%s",
                Named(profile, kSettingVid) ? profile.values.vidText : HexId(own.vid).c_str());
  std::snprintf(asked.pidText, sizeof asked.pidText, "%s",
                Named(profile, kSettingPid) ? profile.values.pidText : HexId(own.pid).c_str());
  CopyText(asked.manufacturer,
           Named(profile, kSettingManufacturer) ? profile.values.manufacturer : own.manufacturer);
  CopyText(asked.product, Named(profile, kSettingProduct) ? profile.values.product : own.product);
  CopyText(asked.serialNumber, Named(profile, kSettingSerial) ? unit.serial : own.serialNumber);
  if (!Named(profile, kSettingTimer)) asked.standbyTimer = own.standbyTimer;
  return asked;
}

bool Same(const char* field, const std::string& asked, const std::string& read) {
  if (asked == read) return true;
  ConsolePrint("%s: asked %s, read %s\n", field, asked.c_str(), read.c_str());
  return false;
}

// Every setting read back against the plan; the HDD strings as the one text
// the library reads, which must hold hdd1 and, after it, hdd2.
bool Verified(const Profile& profile, const Unit& unit, const UnitReading& planned) {
  const CustomizedSetting& want = planned.setting;
  const CustomizedSetting& got = unit.after.setting;
  bool same = Same("vid", HexId(want.vid), HexId(got.vid));
  same = Same("pid", HexId(want.pid), HexId(got.pid)) && same;
  same = Same("manufacturer", want.manufacturer, got.manufacturer) && same;
  same = Same("product", want.product, got.product) && same;
  same = Same("serial", want.serialNumber, got.serialNumber) && same;
  same = Same("timer", std::to_string(want.standbyTimer), std::to_string(got.standbyTimer)) && same;
  if (!Named(profile, kSettingHdd)) return Same("hdd", want.hddString, got.hddString) && same;
  const std::string hdd = got.hddString;
  const size_t first = hdd.find(profile.values.hddString1);
  if (first != std::string::npos &&
      hdd.find(profile.values.hddString2, first + std::strlen(profile.values.hddString1)) !=
          std::string::npos) {
    return same;
  }
  ConsolePrint("hdd: asked %s then %s, read %s\n", profile.values.hddString1,
               profile.values.hddString2, got.hddString);
  return false;
}

void PrintChanges(const Unit& unit) {
  const Json before = ReadingJson(unit.before);
  const Json after = ReadingJson(unit.after);
  for (auto field = before.begin(); field != before.end(); ++field) {
    const Json& planned = after[field.key()];
    if (*field == planned) continue;
    const auto text = [](const Json& value) {
      return value.is_string() ? value.get<std::string>() : value.dump();
    };
    ConsolePrint("  %s: %s -> %s\n", field.key().c_str(), text(*field).c_str(),
                 planned == "" ? "(image)" : text(planned).c_str());
  }
}

std::string FileName(const std::string& path) { return path.substr(FolderOf(path).size()); }

// Reading, numbering, then the write (or the dry run's image check), then
// the read-back.
bool RunUnit(const Run& run, Unit& unit) {
  const Profile& profile = run.profile;
  const char* device = DeviceList[unit.index];
  const bool image = !profile.image.empty();
  if (!Step(run, unit, "reading", "reading", [&](std::string* label) {
        unit.beforeRead = ReadUnit(device, &unit.before);
        *label += std::string(" ") + (unit.before.version[0] != '\0' ? unit.before.version : "-");
        return unit.beforeRead ? StepEnd::kPass : StepEnd::kRefused;
      })) {
    return false;
  }
  if (Named(profile, kSettingSerial) &&
      !Step(run, unit, "serial", "serial", [&](std::string* label) {
        uint64_t number = 0;
        std::string why;
        if (profile.numberedSerial && !NextSerialNumber(CounterPath(profile), profile.serialStart,
                                                        !run.request.dryRun, &number, &why)) {
          ConsolePrint("%s\n", why.c_str());
          return StepEnd::kWrong;
        }
        if (run.request.dryRun && profile.numberedSerial) number += run.serialsPreviewed++;
        unit.serial = FillSerial(profile.serial, number);
        *label += " " + unit.serial;
        if (unit.serial.size() < static_cast<size_t>(kLibraryTextSize)) return StepEnd::kPass;
        ConsolePrint("serial longer than %d\n", kLibraryTextSize - 1);
        return StepEnd::kWrong;
      })) {
    return false;
  }
  const UnitReading planned = Planned(profile, unit);
  if (run.request.dryRun) {
    unit.after = planned;
    unit.afterKnown = true;
    const bool checked =
        !image ||
        Step(run, unit, "checking", "checking image " + FileName(profile.image), [&](std::string*) {
          return ImageMatchesDevice(device, profile.libraryImage.c_str()) ? StepEnd::kPass
                                                                          : StepEnd::kRefused;
        });
    if (!run.request.json) PrintChanges(unit);
    return checked;
  }
  const CustomizedSetting asked = Asked(profile, unit);
  const char* writeStep = image ? "programming" : "writing";
  if (!Step(run, unit, writeStep, image ? "programming" : "writing settings",
            [&](std::string* label) {
              int32_t result = 0;
              if (!image) {
                result = OpSetCustomizedSettings(device, profile.settings, &asked);
              } else if (profile.settings == 0) {
                result = OpUpdateNoCustomizedSetting(device, profile.libraryImage.c_str());
              } else {
                result =
                    OpUpdateWithCustomizedSetting(device, &asked, profile.libraryImage.c_str());
              }
              if (result == 0) {
                if (image) *label += " " + FileName(profile.image);
                return StepEnd::kRefused;
              }
              if (!image) return StepEnd::kPass;
              // The version the unit runs now names what was programmed.
              unit.after.isT7 = unit.before.isT7;
              unit.after.versionResult = OpGetFWVersion(device, unit.after.version);
              *label += std::string(" ") + unit.after.version;
              return unit.after.versionResult != 0 ? StepEnd::kPass : StepEnd::kRefused;
            })) {
    return false;
  }
  return Step(run, unit, "verifying", "verifying", [&](std::string*) {
    if (!image) {
      unit.after.isT7 = unit.before.isT7;
      unit.after.versionResult = OpGetFWVersion(device, unit.after.version);
    }
    if (OpGetCustomizedSetting(device, &unit.after.setting) == 0) return StepEnd::kRefused;
    unit.afterKnown = true;
    return Verified(profile, unit, planned) ? StepEnd::kPass : StepEnd::kWrong;
  });
}

Json RecordOf(const Run& run, const Unit& unit, bool passed, double seconds) {
  Json record = {{"time", unit.time},          {"tool", kToolVersion},
                 {"host", run.host},           {"device", unit.index + 1},
                 {"path", unit.path},          {"series", SeriesName(unit.before)},
                 {"profile", run.profile.path}};
  if (!run.profile.image.empty()) {
    record["image"] = {
        {"path", run.profile.image}, {"sha256", run.imageSha256}, {"size", run.imageSize}};
  }
  if (!unit.serial.empty()) record["serial"] = unit.serial;
  if (unit.beforeRead) record["before"] = ReadingJson(unit.before);
  if (unit.afterKnown) record["after"] = ReadingJson(unit.after);
  record["result"] = passed ? "pass" : "fail";
  if (unit.failedStep != nullptr) record["failed_step"] = unit.failedStep;
  if (!unit.failedCall.empty()) record["failed_call"] = unit.failedCall;
  if (!unit.messages.empty()) record["messages"] = unit.messages;
  if (run.request.dryRun) record["dry_run"] = true;
  record["seconds"] = std::round(seconds * 1000) / 1000;
  return record;
}

}  // namespace

int ApplyProfile(const LineRequest& request, const std::vector<int>& units) {
  Run run{request, request.profile, platform::HostName(), "", 0};
  const Profile& profile = request.profile;
  if (!profile.image.empty() && !Sha256OfFile(profile.image, &run.imageSha256, &run.imageSize)) {
    ConsolePrint("%s: image: cannot read %s\n", profile.path.c_str(), profile.image.c_str());
    return kLineUsageError;
  }
  const std::string recordPath = request.recordPath != nullptr
                                     ? request.recordPath
                                     : FolderOf(profile.path) + "bridgefw-record.jsonl";
  int passedCount = 0;
  int ordinal = 0;
  for (const int index : units) {
    Unit unit;
    unit.index = index;
    unit.ordinal = ++ordinal;
    unit.total = static_cast<int>(units.size());
    unit.path = DeviceList[index];
    unit.time = platform::CurrentTimeText(0);
    const Clock::time_point start = Clock::now();
    const bool passed = RunUnit(run, unit);
    passedCount += passed ? 1 : 0;
    const std::string line = RecordOf(run, unit, passed, SecondsSince(start))
                                 .dump(-1, ' ', false, Json::error_handler_t::replace);
    if (request.json) ConsolePrint("%s\n", line.c_str());
    std::string why;
    // On disk before the next unit is touched; without a record the line stops.
    if (!request.dryRun &&
        !platform::AppendToFile(recordPath, line + "\n", platform::Sync::kToDisk, &why)) {
      ConsolePrint("Record not written, line stopped: %s\n", why.c_str());
      return kLineUnitFailed;
    }
  }
  const int failed = ordinal - passedCount;
  if (!request.json) {
    ConsolePrint("%d unit%s: %d passed, %d failed\n", ordinal, ordinal == 1 ? "" : "s", passedCount,
                 failed);
  }
  return failed == 0 ? kLineAllPassed : kLineUnitFailed;
}
