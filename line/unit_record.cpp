#include "line/unit_record.h"

#include <cmath>

#include "runtime/tool_version.h"

namespace line {

Json RecordOf(const Run& run, const Unit& unit, bool passed) {
  Json record = {{"time", unit.time},          {"tool", runtime::kToolVersion},
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
  if (run.request.dryRun && !unit.planned.is_null()) record["after"] = unit.planned;
  if (unit.afterRead) record["after"] = ReadingJson(unit.after);
  if (!unit.afterAnswered.empty()) record["after"] = unit.afterAnswered;
  record["result"] = passed ? "pass" : "fail";
  if (unit.failedStep != nullptr) record["failed_step"] = unit.failedStep;
  if (!unit.failedCall.empty()) record["failed_call"] = unit.failedCall;
  if (!unit.messages.empty()) record["messages"] = unit.messages;
  if (run.request.dryRun) record["dry_run"] = true;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - unit.start).count();
  record["seconds"] = std::round(seconds * 1000) / 1000;
  return record;
}

std::string RecordLine(const Json& record) {
  return record.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace line
