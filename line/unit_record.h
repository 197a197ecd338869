// A unit's line of the record, as JSON.
#pragma once

#include "line/unit.h"

namespace line {

Json RecordOf(const Run& run, const Unit& unit, bool passed);

// The line as written: one line of JSON, invalid text replaced.
std::string RecordLine(const Json& record);

}  // namespace line
