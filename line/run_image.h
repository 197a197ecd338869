// The image a unit is programmed with. The library reads the file itself,
// by its path, for each unit, and the file can be replaced while a line
// runs: so its digest is taken for each unit, right before and right after
// the programming call. The same both times, it names what was programmed;
// different, the file changed under the unit, which then fails.
#pragma once

#include <cstdint>
#include <string>

namespace line {

struct ImageDigest {
  std::string sha256;
  uint64_t size = 0;
};

// The largest image taken (images are a few MiB).
constexpr std::size_t kMaxImageSize = std::size_t{64} << 20;

// The image's digest now; false and the system's reason when it cannot be read.
bool DigestImage(const std::string& image, ImageDigest* digest, std::string* why);

}  // namespace line
