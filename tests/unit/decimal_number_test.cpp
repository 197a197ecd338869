#include "ui/decimal_number.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
  const char* text;
  bool accepted;
  int32_t value;
};

TEST(AccumulateDecimal, AcceptsOnlySignedDecimalsInRange) {
  const NumberCase cases[] = {
      {"0", true, 0},
      {"300", true, 300},
      {"007", true, 7},
      {"+5", true, 5},
      {"-5", true, -5},
      {"-0", true, 0},
      {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},
      {"00000000002147483647", true, INT32_MAX},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"4294967596", false, 0},
      {"99999999999999999999999", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"5m", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"--5", false, 0},
      {"+-5", false, 0},
      {"0x10", false, 0},
      {"\xB5", false, 0},
  };
  for (const NumberCase& c : cases) {
    int32_t value = 12345;
    EXPECT_EQ(AccumulateDecimal(c.text, &value), c.accepted) << '"' << c.text << '"';
    EXPECT_EQ(value, c.accepted ? c.value : 12345) << '"' << c.text << '"';
  }
  int32_t untouched = 1;
  EXPECT_FALSE(AccumulateDecimal(nullptr, &untouched));
  EXPECT_EQ(untouched, 1);
}

}  // namespace
