// --list: one line (or JSON object) per listed unit.
#pragma once

#include "line/request.h"

namespace line {

// A unit that could not be read (any call refused) makes the status 1.
int ListDevices(const LineRequest& request);

}  // namespace line
