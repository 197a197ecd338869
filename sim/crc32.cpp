#include "sim/crc32.h"

#include <array>

namespace sim {
namespace {

std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

}  // namespace

void Crc32::Update(const void* data, std::size_t size) {
  static const std::array<uint32_t, 256> kTable = MakeTable();
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t c = state_;
  for (std::size_t i = 0; i < size; ++i) c = kTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  state_ = c;
}

uint32_t ComputeCrc32(const void* data, std::size_t size) {
  Crc32 crc;
  crc.Update(data, size);
  return crc.value();
}

}  // namespace sim
