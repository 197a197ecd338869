// --save-profile: a golden unit's settings as a new profile.
#pragma once

#include "line/request.h"

namespace line {

int SaveProfile(const LineRequest& request);

}  // namespace line
