// What a run with long options asks, read from its arguments alone: no
// file, no library, no output. The bottom of the line's front end.
#pragma once

#include <string>
#include <vector>

namespace line {

enum class LineAction { kNone, kList, kApply, kSaveProfile, kHelp, kVersion, kReport };

struct LineRequest {
  LineAction action = LineAction::kNone;
  bool all = false;
  bool dryRun = false;
  bool json = false;
  const char* device = nullptr;          // --device's value
  const char* profilePath = nullptr;     // --apply's
  const char* recordPath = nullptr;      // --record's
  const char* savePath = nullptr;        // --save-profile's
  const char* const* classic = nullptr;  // the help page's option, its values after it
  std::vector<const char*> records;      // --report's
  // A station (--watch) and its workers; 0: not given.
  bool watch = false;
  bool redo = false;
  bool bell = false;
  bool worker = false;  // a station's worker: one unit, reporting on its output
  int jobs = 0;
  int pollMs = 0;
  int units = 0;
  int stopAfter = 0;
};

// Whether the first argument begins with "--".
bool IsLongOptionRun(const char* const* argv);

// The request of the long options at the start of argv (the help page's
// option, with its values, ends them). False, and why ("--list given
// twice"), when they do not make one. --help wins over everything else.
bool ParseLongOptions(const char* const* argv, LineRequest* request, std::string* why);

// The long options' lines of the help, made from their rows.
std::string LongOptionsHelp();

}  // namespace line
