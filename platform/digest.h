// SHA-256 from the system instead of our own code: nettle (libnettle) on
// Linux, CNG (bcrypt.dll) on Windows, both kept correct and fast by the
// system's maintainers. One implementation per system (digest_posix.cpp,
// digest_windows.cpp), the portable rest in digest.cpp. A target of its own,
// bridgefw_digest: only programs that take digests link the system's library.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The SHA-256 of `size` bytes at `data` as 64 lower-case hex digits; false and
// the system's reason when the system cannot compute it.
bool Sha256Hex(const void* data, std::size_t size, std::string* hex, std::string* why);

// Bytes as lower-case hex digits, two a byte.
std::string LowerHex(const unsigned char* bytes, std::size_t size);

}  // namespace platform
