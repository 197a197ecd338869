#include "line/unit_steps.h"

#include <algorithm>
#include <chrono>

#include "line/record.h"
#include "line/reporter.h"
#include "line/serial_counter.h"
#include "line/unit_in_progress.h"
#include "line/unit_plan.h"
#include "line/unit_record.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"

namespace line {

using runtime::ConsolePrint;

namespace {

// How a step ended: a call refused (the operation's result was 0), or a
// value or a rule was wrong.
enum class StepEnd { kPass, kRefused, kWrong };

using Device = const char*;

bool HasImage(const Run& run) { return !run.profile.image.empty(); }

std::string FileName(const std::string& path) { return path.substr(FolderOf(path).size()); }

StepEnd ReadBefore(Run&, Unit& unit, Device device, std::string* label) {
  unit.beforeRead = ReadUnit(device, &unit.before);
  *label += " " + (unit.before.version[0] != '\0' ? ShownText(unit.before.version) : "-");
  return unit.beforeRead ? StepEnd::kPass : StepEnd::kRefused;
}

// One number of the counter, or in a dry run the one a real run would take.
bool NextNumber(Run& run, uint64_t* number, std::string* why) {
  const Profile& profile = run.profile;
  if (!NextSerialNumber(run.files.counter, profile.serialStart, !run.request.dryRun, number, why,
                        profile.serialEnd)) {
    return false;
  }
  if (run.request.dryRun) *number += run.serialsPreviewed++;
  if (*number <= profile.serialEnd) return true;
  *why = RangeUsedUp(*number, profile.serialEnd);
  return false;
}

// The serial, skipping any number whose serial the record gives a passing unit.
StepEnd TakeSerial(Run& run, Unit& unit, Device, std::string* label) {
  const Profile& profile = run.profile;
  unit.numbered = profile.numberedSerial;
  std::string why;
  for (bool given = profile.numberedSerial; given;) {
    if (!NextNumber(run, &unit.serialNumber, &why) ||
        !SerialPassedBefore(run.files.record, FillSerial(profile.serial, unit.serialNumber), &given,
                            &why)) {
      ConsolePrint("%s\n", why.c_str());
      return StepEnd::kWrong;
    }
    if (given) {
      ConsolePrint("%s was given to a passing unit before (the record says so): %llu skipped\n",
                   FillSerial(profile.serial, unit.serialNumber).c_str(),
                   static_cast<unsigned long long>(unit.serialNumber));
    }
  }
  const std::string serial = FillSerial(profile.serial, unit.serialNumber);
  *label += " " + serial;
  if (serial.size() >= static_cast<size_t>(kLibraryTextSize)) {
    ConsolePrint("serial longer than %d\n", kLibraryTextSize - 1);
    return StepEnd::kWrong;
  }
  unit.serial = serial;
  return StepEnd::kPass;
}

StepEnd CheckImage(Run& run, Unit&, Device device, std::string* label) {
  *label += " " + FileName(run.profile.image);
  return ops::ImageMatchesDevice(device, run.profile.libraryImage.c_str()) ? StepEnd::kPass
                                                                           : StepEnd::kRefused;
}

// The image's digest before and after the call names what was programmed.
StepEnd Program(Run& run, Unit& unit, Device device, std::string* label) {
  const Profile& profile = run.profile;
  std::string why;
  if (!DigestImage(profile.image, &unit.image, &why)) {
    ConsolePrint("%s\n", why.c_str());
    return StepEnd::kWrong;
  }
  const ops::CustomizedSetting asked = Asked(profile, unit);
  const char* path = profile.libraryImage.c_str();
  const int32_t result = profile.settings == 0
                             ? ops::OpUpdateNoCustomizedSetting(device, path)
                             : ops::OpUpdateWithCustomizedSetting(device, &asked, path);
  if (result == 0) {
    *label += " " + FileName(profile.image);
    return StepEnd::kRefused;
  }
  ImageDigest after;
  if (!DigestImage(profile.image, &after, &why) || after.sha256 != unit.image.sha256) {
    ConsolePrint("the image changed while it was programmed: %s\n",
                 why.empty() ? ("sha256 " + after.sha256 + " after").c_str() : why.c_str());
    return StepEnd::kWrong;
  }
  // The version the unit runs now names what was programmed.
  unit.after.versionResult = ops::OpGetFWVersion(device, unit.after.version);
  *label += " " + ShownText(unit.after.version);
  return unit.after.versionResult != 0 ? StepEnd::kPass : StepEnd::kRefused;
}

StepEnd WriteSettings(Run& run, Unit& unit, Device device, std::string*) {
  const ops::CustomizedSetting asked = Asked(run.profile, unit);
  return ops::OpSetCustomizedSettings(device, run.profile.settings, &asked) != 0
             ? StepEnd::kPass
             : StepEnd::kRefused;
}

StepEnd Verify(Run& run, Unit& unit, Device device, std::string*) {
  unit.after.isT7 = unit.before.isT7;
  if (!HasImage(run)) unit.after.versionResult = ops::OpGetFWVersion(device, unit.after.version);
  if (ops::OpGetCustomizedSetting(device, &unit.after.setting) == 0) return StepEnd::kRefused;
  unit.afterRead = true;
  return Verified(run.profile, unit) ? StepEnd::kPass : StepEnd::kWrong;
}

struct UnitStep {
  const char* name;  // the record's failed_step
  const char* label;
  bool (*applies)(const Run& run);
  StepEnd (*run)(Run& run, Unit& unit, Device device, std::string* label);
  bool changesUnit;  // a failure leaves the unit half written: read what it answers
};

const UnitStep kUnitSteps[] = {
    {"reading", "reading", [](const Run&) { return true; }, ReadBefore, false},
    {"serial", "serial",
     [](const Run& r) { return (r.profile.settings & ops::kSettingSerial) != 0; }, TakeSerial,
     false},
    {"checking", "checking image", [](const Run& r) { return r.request.dryRun && HasImage(r); },
     CheckImage, false},
    {"programming", "programming", [](const Run& r) { return !r.request.dryRun && HasImage(r); },
     Program, true},
    {"writing", "writing settings", [](const Run& r) { return !r.request.dryRun && !HasImage(r); },
     WriteSettings, true},
    {"verifying", "verifying", [](const Run& r) { return !r.request.dryRun; }, Verify, false},
};

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// What the record says of the unit if the run is abandoned during `step`.
void PrepareAbandon(const Run& run, Unit unit, const char* step) {
  unit.failedStep = step;
  unit.messages.push_back("interrupted");
  SetAbandonRecord(run.request.dryRun ? "" : run.files.record,
                   RecordLine(RecordOf(run, unit, false)));
}

// One step: its messages, the first call that refused, and its report. A
// step passes only when every library call in it succeeded.
bool RunStep(const UnitStep& step, Run& run, Unit& unit) {
  PrepareAbandon(run, unit, step.name);
  std::string label = step.label;
  const auto start = std::chrono::steady_clock::now();
  StepEnd end = StepEnd::kPass;
  const char* refused = nullptr;
  std::vector<std::string> messages;
  {
    const runtime::ConsoleCollector collected;
    const sdk::RefusalWatch watch;
    end = step.run(run, unit, runtime::DeviceList[unit.index], &label);
    refused = watch.FirstRefused();
    messages = LinesOf(collected.Text());
  }
  const bool passed = end == StepEnd::kPass && refused == nullptr;
  if (!passed) unit.failedStep = step.name;
  if (!passed && refused != nullptr) unit.failedCall = refused;
  for (const std::string& line : messages) unit.messages.push_back(line);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.reporter.step(run, unit, {label.c_str(), passed, seconds, messages});
  return passed;
}

// A unit that failed while it was being changed: what it still answers is
// its `after`, so rework can tell whether the commit half-happened.
void ReadBackAfterFailure(const Run& run, Unit& unit) {
  Json messages = Json::array();
  unit.afterAnswered = ReadWhatAnswers(runtime::DeviceList[unit.index], &messages);
  std::vector<std::string> lines;
  for (const Json& line : messages) {
    unit.messages.push_back(line);
    lines.push_back(line.get<std::string>());
  }
  run.reporter.unitLines(run, lines);
}

}  // namespace

bool RunUnit(Run& run, Unit& unit) {
  bool passed = true;
  for (const UnitStep& step : kUnitSteps) {
    if (!step.applies(run)) continue;
    passed = RunStep(step, run, unit);
    if (!passed && step.changesUnit) ReadBackAfterFailure(run, unit);
    if (!passed) break;
  }
  // A dry run's after: what the unit should read back, once it is read and
  // numbered.
  const bool numbered = (run.profile.settings & ops::kSettingSerial) == 0 || !unit.serial.empty();
  if (run.request.dryRun && unit.beforeRead && numbered) {
    unit.planned = PlannedJson(run.profile, unit);
  }
  return passed;
}

}  // namespace line
