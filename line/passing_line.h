// Whether a record line is a passing unit's, and its serial: the one test
// the index makes of every line it adds and of every line it answers with.
#pragma once

#include <string>
#include <string_view>

namespace line {

// The serial of a passing unit's line: a JSON object whose top level holds
// "result":"pass", a nonempty text "serial" and no "dry_run":true. False for
// any other line, JSON or not.
bool PassingSerialOf(std::string_view line, std::string* serial);

}  // namespace line
