// bridgesim: show and change the simulated world (see usage in the .cpp).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sim {

// Runs one control command; the exit status: 0 success, 1 failure, 2 misuse.
int RunControlCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sim
