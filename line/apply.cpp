#include "line/apply.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "line/record.h"
#include "line/run_files.h"
#include "line/run_image.h"
#include "line/serial_counter.h"
#include "line/unit_in_progress.h"
#include "line/unit_reading.h"
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
  RunFiles files;
  std::string host;
  // A dry run takes no number: the units it shows count on from the counter's
  // next one, as a real run would hand them out.
  uint64_t serialsPreviewed = 0;
};

struct Unit {
  int index = 0;  // into DeviceList
  int ordinal = 0;
  int total = 0;
  const char* path = nullptr;
  std::string time;
  Clock::time_point start;
  UnitReading before;
  UnitReading after;  // read back, or planned in a dry run
  bool beforeRead = false;
  bool afterKnown = false;
  Json afterAnswered;  // what a failed unit still answered
  ImageDigest image;   // what the unit was programmed with
  std::string serial;
  uint64_t serialNumber = 0;
  bool numbered = false;
  Json messages = Json::array();
  const char* failedStep = nullptr;
  std::string failedCall;
};

Json RecordOf(const Run& run, const Unit& unit, bool passed);

// What the record says of the unit if the run is abandoned during `step`.
void PrepareAbandon(const Run& run, Unit unit, const char* step) {
  unit.failedStep = step;
  unit.messages.push_back("interrupted");
  SetAbandonRecord(run.request.dryRun ? "" : run.files.record,
                   RecordOf(run, unit, false).dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// One step of a unit: its progress line, the operations' messages under it,
// and on failure which step and which call. A step passes only when every
// library call in it succeeded.
bool Step(const Run& run, Unit& unit, const char* step, std::string label,
          const std::function<StepEnd(std::string* label)>& body) {
  PrepareAbandon(run, unit, step);
  std::string captured;
  const Clock::time_point start = Clock::now();
  const RefusalWatch watch;
  ConsoleCollectInto(&captured);
  const StepEnd end = body(&label);
  ConsoleCollectInto(nullptr);
  const double seconds = SecondsSince(start);
  const char* refused = watch.FirstRefused();
  const bool passed = end == StepEnd::kPass && refused == nullptr;
  if (!passed) {
    unit.failedStep = step;
    if (refused != nullptr) unit.failedCall = refused;
  }
  const std::vector<std::string> lines = LinesOf(captured);
  for (const std::string& line : lines) unit.messages.push_back(line);
  if (!run.request.json) {
    ConsolePrint("[%d/%d] %s: %s ... %s (%.1f s)\n", unit.ordinal, unit.total,
                 ShownText(unit.path).c_str(), label.c_str(), passed ? "PASS" : "FAIL", seconds);
    if (!unit.failedCall.empty()) ConsolePrint("  failed call: %s\n", unit.failedCall.c_str());
    for (const std::string& line : lines) ConsolePrint("  %s\n", line.c_str());
    ConsoleFlush();
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
  ConsolePrint("%s: asked %s, read %s\n", field, ShownText(asked).c_str(), ShownText(read).c_str());
  return false;
}

// The HDD strings read back as one text: hdd1, blanks, hdd2, then nothing
// but blanks (a bridge pads the two SCSI fields with blanks).
bool HddMatches(const std::string& read, const std::string& hdd1, const std::string& hdd2) {
  if (read.compare(0, hdd1.size(), hdd1) != 0) return false;
  size_t at = read.find_first_not_of(' ', hdd1.size());
  if (at == std::string::npos) at = read.size();
  if (read.compare(at, hdd2.size(), hdd2) != 0) return false;
  return read.find_first_not_of(' ', at + hdd2.size()) == std::string::npos;
}

// Every setting read back against the plan.
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
  if (HddMatches(got.hddString, profile.values.hddString1, profile.values.hddString2)) return same;
  ConsolePrint("hdd: asked %s then %s, read %s\n", ShownText(profile.values.hddString1).c_str(),
               ShownText(profile.values.hddString2).c_str(), ShownText(got.hddString).c_str());
  return false;
}

void PrintChanges(const Unit& unit) {
  const Json before = ReadingJson(unit.before);
  const Json after = ReadingJson(unit.after);
  for (auto field = before.begin(); field != before.end(); ++field) {
    const Json& planned = after[field.key()];
    if (*field == planned) continue;
    const auto text = [](const Json& value) {
      return ShownText(value.is_string() ? value.get<std::string>() : value.dump());
    };
    ConsolePrint("  %s: %s -> %s\n", field.key().c_str(), text(*field).c_str(),
                 planned == "" ? "(image)" : text(planned).c_str());
  }
}

std::string FileName(const std::string& path) { return path.substr(FolderOf(path).size()); }

// A number from the counter (or, in a dry run, the one a real run would
// take), skipping any whose serial the record gives to a passing unit.
StepEnd TakeSerial(Run& run, Unit& unit, std::string* label) {
  const Profile& profile = run.profile;
  std::string why;
  bool given = true;
  while (given) {
    uint64_t number = 0;
    if (profile.numberedSerial && !NextSerialNumber(run.files.counter, profile.serialStart,
                                                    !run.request.dryRun, &number, &why)) {
      ConsolePrint("%s\n", why.c_str());
      return StepEnd::kWrong;
    }
    if (run.request.dryRun && profile.numberedSerial) number += run.serialsPreviewed++;
    unit.serial = FillSerial(profile.serial, number);
    unit.serialNumber = number;
    unit.numbered = profile.numberedSerial;
    if (unit.serial.size() >= static_cast<size_t>(kLibraryTextSize)) {
      ConsolePrint("serial longer than %d\n", kLibraryTextSize - 1);
      return StepEnd::kWrong;
    }
    if (!profile.numberedSerial) break;
    if (!SerialPassedBefore(run.files.record, unit.serial, &given, &why)) {
      ConsolePrint("%s\n", why.c_str());
      return StepEnd::kWrong;
    }
    if (given) {
      ConsolePrint("%s was given to a passing unit before (the record says so): %llu skipped\n",
                   unit.serial.c_str(), static_cast<unsigned long long>(number));
    }
  }
  *label += " " + unit.serial;
  return StepEnd::kPass;
}

StepEnd Write(const Run& run, Unit& unit, const char* device, std::string* label) {
  const Profile& profile = run.profile;
  const bool image = !profile.image.empty();
  const CustomizedSetting asked = Asked(profile, unit);
  const char* path = profile.image.c_str();
  std::string why;
  if (image && !DigestImage(profile.image, &unit.image, &why)) {
    ConsolePrint("%s\n", why.c_str());
    return StepEnd::kWrong;
  }
  int32_t result = 0;
  if (!image) {
    result = OpSetCustomizedSettings(device, profile.settings, &asked);
  } else if (profile.settings == 0) {
    result = OpUpdateNoCustomizedSetting(device, path);
  } else {
    result = OpUpdateWithCustomizedSetting(device, &asked, path);
  }
  if (result == 0) {
    if (image) *label += " " + FileName(profile.image);
    return StepEnd::kRefused;
  }
  if (!image) return StepEnd::kPass;
  ImageDigest after;
  if (!DigestImage(profile.image, &after, &why) || after.sha256 != unit.image.sha256) {
    ConsolePrint("the image changed while it was programmed: %s\n",
                 why.empty() ? ("sha256 " + after.sha256 + " after").c_str() : why.c_str());
    return StepEnd::kWrong;
  }
  // The version the unit runs now names what was programmed.
  unit.after.isT7 = unit.before.isT7;
  unit.after.versionResult = OpGetFWVersion(device, unit.after.version);
  *label += " " + ShownText(unit.after.version);
  return unit.after.versionResult != 0 ? StepEnd::kPass : StepEnd::kRefused;
}

StepEnd Verify(const Run& run, Unit& unit, const char* device, const UnitReading& planned) {
  if (run.profile.image.empty()) {
    unit.after.isT7 = unit.before.isT7;
    unit.after.versionResult = OpGetFWVersion(device, unit.after.version);
  }
  if (OpGetCustomizedSetting(device, &unit.after.setting) == 0) return StepEnd::kRefused;
  unit.afterKnown = true;
  return Verified(run.profile, unit, planned) ? StepEnd::kPass : StepEnd::kWrong;
}

// A unit that failed while it was being changed: what it still answers is
// its `after`, so rework can tell whether the commit half-happened.
void ReadBackAfterFailure(const Run& run, Unit& unit, const char* device) {
  Json messages = Json::array();
  unit.afterAnswered = ReadWhatAnswers(device, &messages);
  for (const Json& line : messages) {
    unit.messages.push_back(line);
    if (!run.request.json) ConsolePrint("  %s\n", line.get<std::string>().c_str());
  }
}

bool DryRunRest(const Run& run, Unit& unit, const char* device, const UnitReading& planned) {
  unit.after = planned;
  unit.afterKnown = true;
  const bool checked = run.profile.image.empty() ||
                       Step(run, unit, "checking", "checking image " + FileName(run.profile.image),
                            [&](std::string*) {
                              return ImageMatchesDevice(device, run.profile.image.c_str())
                                         ? StepEnd::kPass
                                         : StepEnd::kRefused;
                            });
  if (!run.request.json) PrintChanges(unit);
  return checked;
}

// Reading, numbering, then the write (or the dry run's image check), then
// the read-back.
bool RunUnit(Run& run, Unit& unit) {
  const Profile& profile = run.profile;
  const char* device = DeviceList[unit.index];
  const bool image = !profile.image.empty();
  const bool read = Step(run, unit, "reading", "reading", [&](std::string* label) {
    unit.beforeRead = ReadUnit(device, &unit.before);
    *label += " " + (unit.before.version[0] != '\0' ? ShownText(unit.before.version) : "-");
    return unit.beforeRead ? StepEnd::kPass : StepEnd::kRefused;
  });
  if (!read) return false;
  if (Named(profile, kSettingSerial) &&
      !Step(run, unit, "serial", "serial",
            [&](std::string* label) { return TakeSerial(run, unit, label); })) {
    return false;
  }
  const UnitReading planned = Planned(profile, unit);
  if (run.request.dryRun) return DryRunRest(run, unit, device, planned);
  if (!Step(run, unit, image ? "programming" : "writing",
            image ? "programming" : "writing settings",
            [&](std::string* label) { return Write(run, unit, device, label); })) {
    ReadBackAfterFailure(run, unit, device);
    return false;
  }
  return Step(run, unit, "verifying", "verifying",
              [&](std::string*) { return Verify(run, unit, device, planned); });
}

Json RecordOf(const Run& run, const Unit& unit, bool passed) {
  Json record = {{"time", unit.time},          {"tool", kToolVersion},
                 {"host", run.host},           {"device", unit.index + 1},
                 {"path", unit.path},          {"series", SeriesName(unit.before)},
                 {"profile", run.profile.path}};
  if (!unit.image.sha256.empty()) {
    record["image"] = {
        {"path", run.profile.image}, {"sha256", unit.image.sha256}, {"size", unit.image.size}};
  }
  if (!unit.serial.empty()) record["serial"] = unit.serial;
  if (unit.numbered) record["serial_number"] = unit.serialNumber;
  if (unit.beforeRead) record["before"] = ReadingJson(unit.before);
  if (unit.afterKnown) record["after"] = ReadingJson(unit.after);
  if (!unit.afterAnswered.empty()) record["after"] = unit.afterAnswered;
  record["result"] = passed ? "pass" : "fail";
  if (unit.failedStep != nullptr) record["failed_step"] = unit.failedStep;
  if (!unit.failedCall.empty()) record["failed_call"] = unit.failedCall;
  if (!unit.messages.empty()) record["messages"] = unit.messages;
  if (run.request.dryRun) record["dry_run"] = true;
  record["seconds"] = std::round(SecondsSince(unit.start) * 1000) / 1000;
  return record;
}

// Everything a real run needs, checked before any unit is touched.
bool PrepareRun(Run& run, std::string* why) {
  const Profile& profile = run.profile;
  if (!FindRunFiles(profile, run.request.recordPath, &run.files, why)) return false;
  if (!run.request.dryRun && !CheckRunFilesWritable(profile, run.files, why)) return false;
  ImageDigest readable;
  if (profile.image.empty() || DigestImage(profile.image, &readable, why)) return true;
  *why = profile.path + ": image: " + *why;
  return false;
}

// Runs one unit and files its record line; false when the line must stop.
bool ServeUnit(Run& run, Unit& unit, int* passedCount) {
  const bool passed = RunUnit(run, unit);
  *passedCount += passed ? 1 : 0;
  const std::string line =
      RecordOf(run, unit, passed).dump(-1, ' ', false, Json::error_handler_t::replace);
  if (run.request.json) ConsolePrint("%s\n", line.c_str());
  ConsoleFlush();
  if (run.request.dryRun) return true;
  std::string why;
  bool endedTail = false;
  // On disk before the next unit is touched; without a record the line stops.
  const bool written =
      WriteUnitRecord(run.files.record, line, passed ? unit.serial : "", &endedTail, &why);
  if (endedTail && !run.request.json) {
    ConsolePrint("The record's last line had no line end: ended before this unit's\n");
  }
  if (!written) ConsolePrint("Record not written, line stopped: %s\n", why.c_str());
  return written;
}

void PrintSummary(const Run& run, int served, int passed, int listed) {
  if (run.request.json) return;
  if (run.request.all && ListedDeviceCount() >= kMaxDevices) {
    ConsolePrint("At most %d units are seen at once: more may be attached\n", kMaxDevices);
  }
  if (served < listed) {
    ConsolePrint("Stopped: %d listed unit%s not reached\n", listed - served,
                 listed - served == 1 ? "" : "s");
  }
  ConsolePrint("%d unit%s: %d passed, %d failed\n", served, served == 1 ? "" : "s", passed,
               served - passed);
  ConsoleFlush();
}

}  // namespace

int ApplyProfile(const LineRequest& request, const std::vector<int>& units) {
  Run run{request, request.profile, {}, platform::HostName(), 0};
  std::string why;
  if (!PrepareRun(run, &why)) {
    ConsolePrint("%s\n", why.c_str());
    return kLineUsageError;
  }
  int passedCount = 0;
  int served = 0;
  bool recorded = true;
  for (const int index : units) {
    if (LineStopRequested() || !recorded) break;
    Unit unit;
    unit.index = index;
    unit.ordinal = ++served;
    unit.total = static_cast<int>(units.size());
    unit.path = DeviceList[index];
    unit.time = platform::CurrentTimeText(0);
    unit.start = Clock::now();
    recorded = ServeUnit(run, unit, &passedCount);
  }
  PrintSummary(run, served, passedCount, static_cast<int>(units.size()));
  return served == static_cast<int>(units.size()) && passedCount == served && recorded
             ? kLineAllPassed
             : kLineUnitFailed;
}

void WatchApplyStops(bool json) { WatchLineStops(!json); }
