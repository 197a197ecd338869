// What the emulated flash can hold.
#include "sim/device.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(Device, HexIdsAreOneToFourHexDigits) {
  const struct {
    const char* text;
    bool ok;
    uint16_t id;
  } cases[] = {
      {"0", true, 0},   {"a", true, 0xA},    {"3A5c", true, 0x3A5C}, {"FFFF", true, 0xFFFF},
      {"", false, 0},   {"12345", false, 0}, {"0x12", false, 0},     {"12 ", false, 0},
      {"-1", false, 0}, {"g", false, 0},
  };
  for (const auto& c : cases) {
    uint16_t id = 0x5555;
    EXPECT_EQ(ParseHexId(c.text, &id), c.ok) << c.text;
    EXPECT_EQ(id, c.ok ? c.id : 0x5555) << c.text;
  }
  EXPECT_FALSE(ParseHexId(nullptr, nullptr));
}

TEST(Device, TextIsPrintableAsciiWithinTheLimit) {
  EXPECT_TRUE(IsDeviceText("", 0));
  EXPECT_TRUE(IsDeviceText(" ~!", 3));
  EXPECT_FALSE(IsDeviceText("abcd", 3));
  EXPECT_FALSE(IsDeviceText("a\nb", 8));
  EXPECT_FALSE(IsDeviceText("a\x7f", 8));
  EXPECT_FALSE(IsDeviceText("caf\xc3\xa9", 8));
}

}  // namespace
}  // namespace sim
