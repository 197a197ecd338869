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

}  // namespace
}  // namespace sim
