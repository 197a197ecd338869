// bridgefw --report RECORD... [--json]: a shift report from the line's
// records. It needs no library, so it runs where none is installed (an
// office computer): it is run before the library is loaded, as --version is.
#pragma once

#include "line/request.h"

namespace line::shift {

// Reads the records in the order given and prints the report. Returns the
// exit status: 0; 1 when a serial is on two passing units; 2 when a record
// is refused (one line naming it and why, and nothing else printed).
int RunShiftReport(const LineRequest& request);

}  // namespace line::shift
