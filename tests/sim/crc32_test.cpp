#include "sim/crc32.h"

#include <gtest/gtest.h>

#include <string>

namespace sim {
namespace {

uint32_t BitwiseCrc(const std::string& text) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char byte : text) {
    c ^= byte;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

TEST(Crc32, CheckValue) {
  EXPECT_EQ(ComputeCrc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(ComputeCrc32("", 0), 0u);
}

// Every length and split around the 8-byte steps, in two pieces and with a
// separately hashed tail appended, gives the bitwise result.
TEST(Crc32, PiecesAndAppendMatchTheBitwiseReferenceAtEveryAlignment) {
  std::string data;
  for (int i = 0; i < 40; ++i) data += static_cast<char>(i * 37 + 11);
  for (std::size_t length = 0; length <= data.size(); ++length) {
    const std::string text = data.substr(0, length);
    for (std::size_t split = 0; split <= length; ++split) {
      Crc32 pieces, head, tail;
      pieces.Update(text.data(), split);
      pieces.Update(text.data() + split, length - split);
      head.Update(text.data(), split);
      tail.Update(text.data() + split, length - split);
      head.Append(tail, length - split);
      EXPECT_EQ(pieces.value(), BitwiseCrc(text)) << length << "/" << split;
      EXPECT_EQ(head.value(), BitwiseCrc(text)) << length << "/" << split;
    }
  }
}

}  // namespace
}  // namespace sim
