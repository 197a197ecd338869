// The figures of a shift report, tallied one record line at a time: what a
// shift lead asks of the line's records (yield, failures, pace, serials).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "line/json_line.h"

namespace line::shift {

struct HourFigures {
  uint64_t units = 0;
  uint64_t passed = 0;
};

// A line that is no record line, where it lies (its number from 1).
struct BadLine {
  std::string file;
  uint64_t line;
};

// The serial numbers given: the lowest, the highest and the numbers between
// them never given, as ranges (first, last) of one or more.
struct SerialSpan {
  bool any = false;
  uint64_t first = 0;
  uint64_t last = 0;
  std::vector<std::pair<uint64_t, uint64_t>> gaps;
  uint64_t gapCount = 0;  // the numbers in the gaps
};

struct ShiftTally {
  uint64_t units = 0;
  uint64_t passed = 0;
  uint64_t retries = 0;
  uint64_t dryRunLines = 0;
  std::map<std::string, uint64_t> failedSteps;
  std::map<std::string, uint64_t> failedCalls;
  std::map<std::string, HourFigures> perHour;  // "2026-01-01T09", or "unknown"
  std::set<std::string> duplicates;            // serials on two passing units or more
  // Each serial given to a unit so far, and whether a passing one.
  std::unordered_map<std::string, bool> serials;
  std::vector<uint64_t> serialNumbers;  // as given, until FinishTally
  SerialSpan span;                      // made by FinishTally
  uint64_t badLineCount = 0;
  std::vector<BadLine> badLines;  // the first kNamedBadLines
};

// The bad lines named in a report; the others are only counted.
constexpr std::size_t kNamedBadLines = 100;

// Tallies a record line: a JSON object whose "result" is a text. False, and
// nothing tallied, for any other value. A dry run's line is counted apart.
bool TallyRecordLine(const Json& line, ShiftTally* tally);

// Once every line is tallied: the serial numbers' span.
void FinishTally(ShiftTally* tally);

// Names and counts, the most frequent first (then by name).
std::vector<std::pair<std::string, uint64_t>> ByCount(
    const std::map<std::string, uint64_t>& counts);

}  // namespace line::shift
