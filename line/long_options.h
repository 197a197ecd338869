// The production line's front end: options beginning with "--", in any order,
// before the help page's option (which, with its values, ends them).
#pragma once

#include <optional>

#include "line/exit_status.h"
#include "line/line_run.h"

namespace line {

// Before the library is touched: reads the options, and the profile of
// --apply. The exit status when the run ends here (a usage or profile error,
// printed; or --version or --report, which need no library); otherwise none,
// and `run` is ready.
std::optional<int> PrepareLongOptions(const char* const* argv, LineRun* run);

// The run, once the library has listed its devices; returns the status.
int RunLongOptions(const LineRun& run);

// The run when the library lists no device, or is missing: says so (an
// empty list for --list --json) and returns kLineNoDevice; help needs
// neither and is shown.
int RunLongOptionsWithoutDevice(const LineRun& run);

}  // namespace line
