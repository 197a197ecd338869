// What a run of --apply tells as it goes, one table of functions per form:
// the text for an operator (progress lines, what a dry run would change, a
// summary), the record lines for a script (--json), or the events a
// station's worker sends the station.
#pragma once

#include <string>
#include <vector>

#include "line/unit.h"

namespace line {

// One step of a unit, as it ended.
struct StepReport {
  const char* label;  // with what the step found: "serial LINE-0041"
  bool passed;
  double seconds;
  const std::vector<std::string>& messages;
};

// How many units were served and passed, of how many listed.
struct RunTally {
  int served;
  int passed;
  int listed;
};

struct Reporter {
  void (*step)(const Run& run, const Unit& unit, const StepReport& step);
  // Lines about the unit outside its steps (what a failed unit still answers).
  void (*unitLines)(const Run& run, const std::vector<std::string>& lines);
  void (*unitDone)(const Run& run, const Unit& unit, const std::string& recordLine);
  // After the record line was filed, or not (`written`).
  void (*recorded)(const std::string& recordLine, bool written);
  void (*note)(const std::string& line);
  void (*summary)(const Run& run, const RunTally& tally);
};

extern const Reporter kTextReporter;
extern const Reporter kJsonReporter;
// A station's worker: one JSON event per line on its output, for the station.
extern const Reporter kWorkerReporter;

}  // namespace line
