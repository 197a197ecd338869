#include "sim/bridge/crc32.h"

#include <array>
#include <cstdio>

namespace sim {
namespace {

// Slicing-by-8 tables: table[k][b] is the CRC of byte b followed by k zero
// bytes, so eight input bytes are folded per step. Images run to tens of MiB.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

Tables MakeTables() {
  Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (std::size_t k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
  return t;
}

// Product of two polynomials modulo the CRC polynomial (reflected bits).
uint32_t MultiplyMod(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (uint32_t m = 1u << 31; m != 0; m >>= 1) {
    if (a & m) product ^= b;
    b = (b & 1) ? 0xEDB88320u ^ (b >> 1) : b >> 1;
  }
  return product;
}

// x^(8 * bytes) modulo the CRC polynomial: the effect of `bytes` more bytes.
uint32_t ByteShift(uint64_t bytes) {
  uint32_t result = 1u << 31;  // x^0
  for (uint32_t power = 1u << 23; bytes != 0; bytes >>= 1, power = MultiplyMod(power, power)) {
    if (bytes & 1) result = MultiplyMod(power, result);
  }
  return result;
}

}  // namespace

void Crc32::Append(const Crc32& next, uint64_t nextSize) {
  // crc(A || B) = crc(A) * x^(8|B|) + crc(B), on the final (inverted) values.
  state_ = ~(MultiplyMod(ByteShift(nextSize), ~state_) ^ ~next.state_);
}

void Crc32::Update(const void* data, std::size_t size) {
  static const Tables t = MakeTables();
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t c = state_;
  for (; size >= 8; size -= 8, p += 8) {
    uint32_t lo = c ^ (p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
    c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
        t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
  }
  for (; size > 0; --size, ++p) c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
  state_ = c;
}

uint32_t ComputeCrc32(const void* data, std::size_t size) {
  Crc32 crc;
  crc.Update(data, size);
  return crc.value();
}

std::string Crc32Text(uint32_t crc) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
  return text;
}

}  // namespace sim
