// SHA-256 (FIPS 180-4), for the record of the image a unit was programmed
// with. Our own: no library for it is at hand on every system the tool runs on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
 public:
  Sha256();
  void Add(const void* data, size_t size);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const uint8_t* block);
  uint32_t state_[8];
  uint8_t pending_[64];
  size_t pendingSize_ = 0;
  uint64_t totalBytes_ = 0;
};

// The digest and size of a whole file; false when it cannot be read.
bool Sha256OfFile(const std::string& path, std::string* hexDigest, uint64_t* size);
