// --apply: every selected unit brought to the profile, verified, recorded.
#pragma once

#include <vector>

#include "line/long_options.h"

// units: indices into DeviceList, in listing order. Returns the exit status.
int ApplyProfile(const LineRequest& request, const std::vector<int>& units);
