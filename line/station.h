// A station: units served several at once, each in a worker process of its
// own (the same program, one device path): the maker's library keeps its
// staging table in the loaded instance, so two units in one process would
// mix their settings, and a crash in the library takes one unit, not the
// station. --watch serves each unit as it is plugged in, all shift long;
// --all --jobs N the units listed now.
#pragma once

#include <vector>

#include "line/exit_status.h"
#include "line/line_run.h"

namespace line::station {

int RunStation(const LineRun& run);
int ApplyInWorkers(const LineRun& run, const std::vector<int>& units);

}  // namespace line::station
