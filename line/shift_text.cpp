// The shift report as text: a label column, then the figure.
#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "line/shift_output.h"
#include "line/unit_reading.h"

namespace line::shift {

namespace {

constexpr int kLabelWidth = 15;

void Row(std::string* out, const char* label, const std::string& value) {
  char padded[32];
  std::snprintf(padded, sizeof padded, "%-*s", kLabelWidth, label);
  *out += padded + value + "\n";
}

std::string Number(uint64_t value) { return std::to_string(value); }

std::string Counts(const std::map<std::string, uint64_t>& counts) {
  std::string text;
  for (const auto& [name, count] : ByCount(counts)) {
    text += (text.empty() ? "" : ", ") + ShownText(name) + " " + Number(count);
  }
  return text.empty() ? "none" : text;
}

// The hours, units and passes aligned across the lines.
void Hours(std::string* out, const ShiftTally& tally) {
  uint64_t most = 0;
  for (const auto& hour : tally.perHour) most = std::max(most, hour.second.units);
  const int width = static_cast<int>(Number(most).size());
  for (const auto& [hour, figures] : tally.perHour) {
    char line[96];
    std::snprintf(line, sizeof line, "%-13s  units %*" PRIu64 "  passed %*" PRIu64, hour.c_str(),
                  width, figures.units, width, figures.passed);
    Row(out, "hour", line);
  }
}

std::string Serials(const SerialSpan& span) {
  if (!span.any) return "none numbered";
  std::string text = Number(span.first) + " to " + Number(span.last);
  if (span.gaps.empty()) return text + ", all given";
  text += ", " + Number(span.gapCount) + " never given: ";
  for (std::size_t at = 0; at < span.gaps.size() && at < kShownGapRanges; ++at) {
    const auto& [from, to] = span.gaps[at];
    text += (at > 0 ? ", " : "") + Number(from) + (to > from ? "-" + Number(to) : "");
  }
  return text + (span.gaps.size() > kShownGapRanges ? ", ..." : "");
}

std::string Duplicates(const std::set<std::string>& duplicates) {
  if (duplicates.empty()) return "none";
  std::string text;
  for (const std::string& serial : duplicates) {
    text += (text.empty() ? ": " : ", ") + ShownText(serial);
  }
  return Number(duplicates.size()) + text;
}

std::string BadLines(const ShiftTally& tally) {
  std::string text = Number(tally.badLineCount);
  for (std::size_t at = 0; at < tally.badLines.size(); ++at) {
    const BadLine& bad = tally.badLines[at];
    text += (at > 0 ? ", " : ": ") + bad.file + ":" + Number(bad.line);
  }
  const uint64_t unnamed = tally.badLineCount - tally.badLines.size();
  return text + (unnamed > 0 ? ", and " + Number(unnamed) + " more" : "");
}

}  // namespace

std::string ShiftReportText(const std::vector<const char*>& records, const ShiftTally& tally) {
  std::string out, files;
  for (const char* record : records) files += (files.empty() ? "" : ", ") + std::string(record);
  Row(&out, "records", files);
  Row(&out, "units", Number(tally.units));
  Row(&out, "passed", Number(tally.passed));
  Row(&out, "failed", Number(tally.units - tally.passed));
  char yield[16];
  const double share = tally.units > 0 ? double(tally.passed) / double(tally.units) : 0.0;
  std::snprintf(yield, sizeof yield, "%.1f%%", share * 100);
  Row(&out, "yield", yield);
  Row(&out, "retries", Number(tally.retries));
  Row(&out, "failed steps", Counts(tally.failedSteps));
  Row(&out, "failed calls", Counts(tally.failedCalls));
  Hours(&out, tally);
  Row(&out, "serials", Serials(tally.span));
  Row(&out, "duplicates", Duplicates(tally.duplicates));
  Row(&out, "dry-run lines", Number(tally.dryRunLines) + " (not units)");
  Row(&out, "bad lines", BadLines(tally));
  return out;
}

}  // namespace line::shift
