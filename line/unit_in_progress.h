// A run of --apply asked to stop (Ctrl-C, SIGTERM, a closed window). The
// first request lets the unit in progress finish and starts no other unit;
// a second within a few seconds (for a library call that does not return)
// abandons it: its record line says it failed, interrupted, and the run
// ends at once with status 1. So a unit that was touched always has its
// record line, and exactly one.
#pragma once

#include <string>

namespace line {

// From now on stop requests are handled so; `notices` prints what each one
// does (the text output; the JSON output stays JSON). A station abandons its
// units itself (`abandonHere` false): it is then told by
// LineAbandonRequested().
void WatchLineStops(bool notices, bool abandonHere = true);
bool LineStopRequested();
bool LineAbandonRequested();

// The unit in progress: the record line (without its line end) that says
// it was interrupted now. An empty path: nothing is written (a dry run).
void SetAbandonRecord(const std::string& recordPath, const std::string& line);

// The unit's own record line, written once: afterwards an abandoned run
// writes nothing for it. False, and why, when the record was not written.
bool WriteUnitRecord(const std::string& recordPath, const std::string& line,
                     const std::string& passedSerial, bool* endedTail, std::string* why);

}  // namespace line
