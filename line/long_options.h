// The production line's front end: options beginning with "--", in any order,
// before the help page's option (which, with its values, ends them).
#pragma once

#include <string>

#include "line/exit_status.h"
#include "line/profile.h"

enum class LineAction { kNone, kList, kApply, kSaveProfile, kHelp, kVersion };

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
  Profile profile;                       // loaded for --apply

  bool finished = false;  // parsing decided the run: exit with status
  int status = kLineAllPassed;
};

// Whether the first argument begins with "--".
bool IsLongOptionRun(const char* const* argv);

// Reads the options, and the profile of --apply, before the library is
// touched; prints what is wrong. finished is set for usage errors and for
// what needs no library (--version).
LineRequest ParseLongOptions(const char* const* argv);

// The request, once the library has listed its devices; returns the status.
int RunLongOptions(const LineRequest& request);

// The request when the library lists no device, or is missing: says so (an
// empty list for --list --json) and returns kLineNoDevice; help needs
// neither and is shown.
int RunLongOptionsWithoutDevice(const LineRequest& request);
