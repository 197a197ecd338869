// bridgesim-image: writes, checks and (for tests) damages simulator firmware images.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sim {

// Exit status: 0 success (or a good image), 1 failure (or a bad image), 2 misuse.
int RunImageCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Flips one payload byte (a version byte if the payload is empty), so the
// image's CRC no longer matches.
bool CorruptImage(const std::string& path, std::string* error);

}  // namespace sim
