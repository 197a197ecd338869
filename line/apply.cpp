#include "line/apply.h"

#include <chrono>

#include "line/reporter.h"
#include "line/run_files.h"
#include "line/unit_in_progress.h"
#include "line/unit_record.h"
#include "line/unit_steps.h"
#include "platform/process.h"
#include "runtime/console.h"
#include "runtime/device_list.h"

namespace line {

namespace {

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
  const std::string line = RecordLine(RecordOf(run, unit, passed));
  run.reporter.unitDone(run, unit, line);
  if (run.request.dryRun) return true;
  std::string why;
  bool endedTail = false;
  // On disk before the next unit is touched; without a record the line stops.
  const bool written =
      WriteUnitRecord(run.files.record, line, passed ? unit.serial : "", &endedTail, &why);
  if (endedTail)
    run.reporter.note("The record's last line had no line end: ended before this unit's");
  if (!written) runtime::ConsolePrint("Record not written, line stopped: %s\n", why.c_str());
  run.reporter.recorded(line, written);
  return written;
}

}  // namespace

int ApplyProfile(const LineRequest& request, const Profile& profile,
                 const std::vector<int>& units) {
  const Reporter& reporter = request.worker ? kWorkerReporter
                             : request.json ? kJsonReporter
                                            : kTextReporter;
  Run run{request, profile, reporter, {}, platform::HostName()};
  std::string why;
  if (!PrepareRun(run, &why)) {
    runtime::ConsolePrint("%s\n", why.c_str());
    return kLineUsageError;
  }
  const int listed = static_cast<int>(units.size());
  RunTally tally{0, 0, listed};
  bool recorded = true;
  for (const int index : units) {
    if (LineStopRequested() || !recorded) break;
    Unit unit;
    unit.index = index;
    unit.ordinal = ++tally.served;
    unit.total = listed;
    unit.path = runtime::DeviceList[index];
    unit.time = platform::CurrentTimeText(0);
    unit.start = std::chrono::steady_clock::now();
    recorded = ServeUnit(run, unit, &tally.passed);
  }
  run.reporter.summary(run, tally);
  const bool allPassed = tally.served == listed && tally.passed == listed && recorded;
  return allPassed ? kLineAllPassed : kLineUnitFailed;
}

void WatchApplyStops(const LineRequest& request) {
  if (request.worker) return;
  const bool station = request.watch || request.jobs > 1;
  WatchLineStops(!request.json, !station);
}

}  // namespace line
