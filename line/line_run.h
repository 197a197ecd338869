// What a run with long options asks, and the profile --apply reads: what the
// front end hands the line's actions.
#pragma once

#include "line/profile.h"
#include "line/request.h"

namespace line {

struct LineRun {
  LineRequest request;
  Profile profile;
};

}  // namespace line
