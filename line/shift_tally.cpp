#include "line/shift_tally.h"

#include <algorithm>

namespace line::shift {

namespace {

const std::string* TextAt(const Json& object, const char* key) {
  const auto found = object.find(key);
  if (found == object.end() || !found->is_string()) return nullptr;
  return found->get_ptr<const std::string*>();
}

// "2026-01-01T09" of "2026-01-01T09:05:00Z"; a time of another shape has no hour.
std::string HourOf(const std::string* time) {
  static const char kShape[] = "dddd-dd-ddTdd";
  constexpr std::size_t kLength = sizeof kShape - 1;
  if (time == nullptr || time->size() < kLength) return "unknown";
  for (std::size_t at = 0; at < kLength; ++at) {
    const char c = (*time)[at];
    const bool fits = kShape[at] == 'd' ? c >= '0' && c <= '9' : c == kShape[at];
    if (!fits) return "unknown";
  }
  return time->substr(0, kLength);
}

void Count(const std::string* name, std::map<std::string, uint64_t>* counts) {
  if (name != nullptr) ++(*counts)[*name];
}

// A retry carries a serial given before; a serial passing twice is a duplicate.
void TallySerials(const Json& line, bool passed, ShiftTally* tally) {
  const auto before = line.find("before");
  const std::string* carried =
      before != line.end() && before->is_object() ? TextAt(*before, "serial") : nullptr;
  if (carried != nullptr && tally->serials.count(*carried) > 0) ++tally->retries;
  const std::string* serial = TextAt(line, "serial");
  if (serial == nullptr || serial->empty()) return;
  bool& passedBefore = tally->serials[*serial];
  if (passed && passedBefore) tally->duplicates.insert(*serial);
  passedBefore = passedBefore || passed;
}

}  // namespace

bool TallyRecordLine(const Json& line, ShiftTally* tally) {
  const std::string* result = line.is_object() ? TextAt(line, "result") : nullptr;
  if (result == nullptr) return false;
  const auto dryRun = line.find("dry_run");
  if (dryRun != line.end() && dryRun->is_boolean() && dryRun->get<bool>()) {
    ++tally->dryRunLines;
    return true;
  }
  const bool passed = *result == "pass";
  ++tally->units;
  HourFigures& hour = tally->perHour[HourOf(TextAt(line, "time"))];
  ++hour.units;
  if (passed) {
    ++tally->passed;
    ++hour.passed;
  } else {
    Count(TextAt(line, "failed_step"), &tally->failedSteps);
    Count(TextAt(line, "failed_call"), &tally->failedCalls);
  }
  const auto number = line.find("serial_number");
  if (number != line.end() && number->is_number_unsigned()) {
    tally->serialNumbers.push_back(number->get<uint64_t>());
  }
  TallySerials(line, passed, tally);
  return true;
}

void FinishTally(ShiftTally* tally) {
  std::vector<uint64_t>& numbers = tally->serialNumbers;
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  SerialSpan& span = tally->span;
  span = SerialSpan();
  if (numbers.empty()) return;
  span.any = true;
  span.first = numbers.front();
  span.last = numbers.back();
  for (std::size_t at = 1; at < numbers.size(); ++at) {
    if (numbers[at] - numbers[at - 1] < 2) continue;
    span.gaps.emplace_back(numbers[at - 1] + 1, numbers[at] - 1);
    span.gapCount += numbers[at] - numbers[at - 1] - 1;
  }
}

std::vector<std::pair<std::string, uint64_t>> ByCount(
    const std::map<std::string, uint64_t>& counts) {
  std::vector<std::pair<std::string, uint64_t>> sorted(counts.begin(), counts.end());
  // Stable over the map's name order: equal counts stay by name.
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  return sorted;
}

}  // namespace line::shift
