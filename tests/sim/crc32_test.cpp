#include "sim/crc32.h"

#include <gtest/gtest.h>

#include <string>

namespace sim {
namespace {

TEST(Crc32, KnownCheckValue) {
  const std::string text = "123456789";
  EXPECT_EQ(ComputeCrc32(text.data(), text.size()), 0xCBF43926u);
}

TEST(Crc32, PiecesEqualWhole) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  Crc32 crc;
  crc.Update(text.data(), 10);
  crc.Update(text.data() + 10, text.size() - 10);
  EXPECT_EQ(crc.value(), ComputeCrc32(text.data(), text.size()));
  EXPECT_EQ(crc.value(), 0x414FA339u);
}

// Appending a separately hashed tail gives the CRC of the whole, at every
// split (empty head and empty tail included).
TEST(Crc32, AppendCombinesHeadAndTail) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  for (size_t split = 0; split <= text.size(); ++split) {
    Crc32 head;
    head.Update(text.data(), split);
    Crc32 tail;
    tail.Update(text.data() + split, text.size() - split);
    head.Append(tail, text.size() - split);
    EXPECT_EQ(head.value(), 0x414FA339u) << "split at " << split;
  }
}

// Every split point and length around the 8-byte steps gives the bitwise result.
TEST(Crc32, MatchesBitwiseReferenceForAllAlignments) {
  std::string data;
  for (int i = 0; i < 40; ++i) data += static_cast<char>(i * 37 + 11);
  auto reference = [](const std::string& text) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char byte : text) {
      c ^= byte;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
  };
  for (std::size_t length = 0; length <= data.size(); ++length) {
    const std::string text = data.substr(0, length);
    for (std::size_t split = 0; split <= length; ++split) {
      Crc32 crc;
      crc.Update(text.data(), split);
      crc.Update(text.data() + split, length - split);
      EXPECT_EQ(crc.value(), reference(text)) << length << "/" << split;
    }
  }
}

}  // namespace
}  // namespace sim
