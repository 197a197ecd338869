// The shift report as one JSON object.
#include "line/shift_output.h"

namespace line::shift {

namespace {

Json Counts(const std::map<std::string, uint64_t>& counts) {
  Json object = Json::object();
  for (const auto& [name, count] : ByCount(counts)) object[name] = count;
  return object;
}

Json PerHour(const ShiftTally& tally) {
  Json hours = Json::array();
  for (const auto& [hour, figures] : tally.perHour) {
    hours.push_back({{"hour", hour}, {"units", figures.units}, {"passed", figures.passed}});
  }
  return hours;
}

Json Serials(const SerialSpan& span) {
  Json gaps = Json::array();
  for (const auto& [from, to] : span.gaps) {
    for (uint64_t number = from; gaps.size() < kListedGaps; ++number) {
      gaps.push_back(number);
      if (number == to) break;
    }
  }
  return {{"first", span.any ? Json(span.first) : Json()},
          {"last", span.any ? Json(span.last) : Json()},
          {"gaps", gaps},
          {"gap_count", span.gapCount}};
}

Json BadLines(const ShiftTally& tally) {
  Json lines = Json::array();
  for (const BadLine& bad : tally.badLines)
    lines.push_back({{"file", bad.file}, {"line", bad.line}});
  return lines;
}

}  // namespace

std::string ShiftReportJson(const std::vector<const char*>& records, const ShiftTally& tally) {
  const double share = tally.units > 0 ? double(tally.passed) / double(tally.units) : 0.0;
  const Json report = {
      {"records", records},
      {"units", tally.units},
      {"passed", tally.passed},
      {"failed", tally.units - tally.passed},
      {"yield", share},
      {"retries", tally.retries},
      {"failed_steps", Counts(tally.failedSteps)},
      {"failed_calls", Counts(tally.failedCalls)},
      {"per_hour", PerHour(tally)},
      {"serials", Serials(tally.span)},
      {"duplicates", tally.duplicates},
      {"dry_run_lines", tally.dryRunLines},
      {"bad_lines", BadLines(tally)},
      {"bad_line_count", tally.badLineCount},
  };
  return report.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace line::shift
