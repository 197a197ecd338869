// What the emulated flash can hold.
#include "sim/device.h"

#include <gtest/gtest.h>

#include "sim/fields.h"

namespace sim {
namespace {

struct HexCase {
  const char* text;
  bool ok;
  uint16_t id;
};

TEST(Device, HexIdsAreOneToFourHexDigits) {
  const HexCase cases[] = {
      {"0", true, 0},   {"a", true, 0xA},    {"3A5c", true, 0x3A5C}, {"FFFF", true, 0xFFFF},
      {"", false, 0},   {"12345", false, 0}, {"0x12", false, 0},     {"12 ", false, 0},
      {"-1", false, 0}, {"g", false, 0},
  };
  for (const HexCase& c : cases) {
    uint16_t id = 0x5555;
    EXPECT_EQ(ParseHexId(c.text, &id), c.ok) << c.text;
    EXPECT_EQ(id, c.ok ? c.id : 0x5555) << c.text;
  }
  EXPECT_FALSE(ParseHexId(nullptr, nullptr));
  EXPECT_EQ(FormatHexId(0xAB), "00AB");
}

TEST(Device, TextIsPrintableAsciiWithinTheLimit) {
  EXPECT_TRUE(IsDeviceText("", 0));
  EXPECT_TRUE(IsDeviceText("~ !", 3));
  EXPECT_FALSE(IsDeviceText("abcd", 3));
  EXPECT_FALSE(IsDeviceText("a\nb", 8));
  EXPECT_FALSE(IsDeviceText("caf\xc3\xa9", 8));
}

TEST(Device, EveryReadFitsTheToolBuffers) {
  EXPECT_LT(kMaxUsbString, kTextBufferSize);
  EXPECT_LT(kMaxSerial, kTextBufferSize);
  EXPECT_LT(kMaxHddVendor + 1 + kMaxHddProduct, kTextBufferSize);
  EXPECT_LT(std::string(kSdkVersion).size(), kSdkVersionBufferSize);
}

TEST(Device, FurtherDevicesAreNumbered) {
  Device d = DefaultDevice(2, Series::kT7);
  EXPECT_EQ(d.path, "sim2");
  EXPECT_EQ(d.settings.serial, "SIM0000000003");
  EXPECT_EQ(d.series, Series::kT7);
  std::string error;
  EXPECT_TRUE(ValidateDevice(d, &error)) << error;
}

TEST(Fields, NamesRoundTrip) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    Field parsed = Field::kCount;
    ASSERT_TRUE(ParseFieldName(FieldName(static_cast<Field>(i)), &parsed));
    EXPECT_EQ(parsed, static_cast<Field>(i));
  }
  Field unused;
  EXPECT_FALSE(ParseFieldName("colour", &unused));
}

}  // namespace
}  // namespace sim
