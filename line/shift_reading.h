// A record read into a shift report's figures one line at a time, so that a
// record of any size costs the same memory (but for the serials it names).
#pragma once

#include <string>

#include "line/shift_tally.h"

namespace line::shift {

// Tallies every line of the record at `path`. A line that is not a record
// line (not JSON, or no object with a "result") is counted and named; a
// blank line is passed over. False, with a line naming the file and why,
// for a file that cannot be read, is empty, holds a NUL byte (not text), or
// holds no record line at all.
bool ReadShiftRecord(const std::string& path, ShiftTally* tally, std::string* why);

}  // namespace line::shift
