// CRC-32 (IEEE 802.3, reflected, as zlib computes it), usable in pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

class Crc32 {
 public:
  void Update(const void* data, std::size_t size);
  uint32_t value() const { return ~state_; }
  // Continues as if the nextSize bytes that `next` was fed had been fed here.
  void Append(const Crc32& next, uint64_t nextSize);

 private:
  uint32_t state_ = 0xFFFFFFFFu;
};

uint32_t ComputeCrc32(const void* data, std::size_t size);

// Eight upper-case hexadecimal digits, as bridgesim, its image command and the
// state file show a CRC.
std::string Crc32Text(uint32_t crc);

}  // namespace sim
