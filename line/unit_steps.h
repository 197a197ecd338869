// A unit of --apply as a list of named steps run by one loop: reading,
// serial, then the dry run's image check, or the programming or the write,
// then the read-back.
#pragma once

#include "line/unit.h"

namespace line {

// Runs the steps that apply, up to the first that fails; whether all passed.
bool RunUnit(Run& run, Unit& unit);

}  // namespace line
