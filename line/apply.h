// --apply: every selected unit brought to the profile, verified, recorded.
#pragma once

#include <vector>

#include "line/exit_status.h"
#include "line/profile.h"
#include "line/request.h"

namespace line {

// units: indices into DeviceList, in listing order. Returns the exit status.
int ApplyProfile(const LineRequest& request, const Profile& profile, const std::vector<int>& units);

// Ctrl-C and its kin during --apply: the unit in progress finishes and is
// recorded; a second request abandons it (see unit_in_progress.h); a station
// decides for its workers, which are left alone by the requests. Called once,
// before the library is loaded.
void WatchApplyStops(const LineRequest& request);

}  // namespace line
