// A shift report's two forms: an aligned text for the shift lead, each line
// beginning with its fixed label (scripts may pick lines by it), and one
// JSON object for scripts.
#pragma once

#include <string>
#include <vector>

#include "line/shift_tally.h"

namespace line::shift {

// The gaps listed by number in the JSON form; gap_count counts them all.
constexpr uint64_t kListedGaps = 10000;
// The gap ranges shown in the text form.
constexpr std::size_t kShownGapRanges = 20;

std::string ShiftReportText(const std::vector<const char*>& records, const ShiftTally& tally);
std::string ShiftReportJson(const std::vector<const char*>& records, const ShiftTally& tally);

}  // namespace line::shift
