// The test knobs: the trace line of every call and the fault rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/entries.h"
#include "sim/fault.h"
#include "sim/trace.h"
#include "sim_test_env.h"

namespace sim {

// Found by argument-dependent lookup, so outside the unnamed namespace.
bool operator==(const FaultRule& a, const FaultRule& b) {
  return a.name == b.name && a.call == b.call && a.value == b.value;
}
void PrintTo(const FaultRule& r, std::ostream* os) {
  *os << r.name << "@" << r.call << "=" << r.value;
}

namespace {

using testing::SetFaults;
using testing::SimEnvironment;

struct QuoteCase {
  const char* text;
  const char* quoted;
};

TEST(TraceFormat, QuotesAndEscapesText) {
  const QuoteCase cases[] = {
      {"", "\"\""},
      {"/tmp/a b.bin", "\"/tmp/a b.bin\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\fw\\x.bin", "\"C:\\\\fw\\\\x.bin\""},
      {"tab\there", "\"tab\\x09here\""},
      {"\x7f\xe9", "\"\\x7F\\xE9\""},
  };
  for (const QuoteCase& c : cases) EXPECT_EQ(QuoteText(c.text), c.quoted) << c.text;
  EXPECT_EQ(QuoteText(nullptr), "null");
}

TEST(TraceFormat, ArgumentsByKind) {
  char text[4];
  uint16_t id = 0;
  int32_t number = 0;
  char* list[1] = {text};
  EXPECT_EQ(TraceLine("QZ_InitialCustomizedSettingTable", std::make_tuple(), 1),
            "QZ_InitialCustomizedSettingTable() = 1\n");
  EXPECT_EQ(TraceLine("N", std::make_tuple(static_cast<const char*>("sim0"), int32_t{-7}), 0),
            "N(\"sim0\", -7) = 0\n");
  EXPECT_EQ(TraceLine("N", std::make_tuple(static_cast<const char*>("d"), text), 3),
            "N(\"d\", out) = 3\n");
  EXPECT_EQ(TraceLine("N", std::make_tuple(&id, &number), 1), "N(out, out) = 1\n");
  EXPECT_EQ(TraceLine("N", std::make_tuple(static_cast<char**>(list), &number), 1),
            "N(list, out) = 1\n");
}

class TraceTest : public ::testing::Test {
 protected:
  SimEnvironment env_;
};

TEST_F(TraceTest, EveryCallAppendsOneLine) {
  const std::string trace = env_.EnableTrace();
  char* list[16];
  std::vector<std::vector<char>> buffers(16, std::vector<char>(256));
  for (int i = 0; i < 16; ++i) list[i] = buffers[i].data();
  int32_t count = 0;
  uint16_t vid = 0;
  entry::QZ_GetDeviceList(list, &count);
  entry::QZ_InitialCustomizedSettingTable();
  entry::QZ_EnableUpdateVID("sim0", 1);
  entry::QZ_SetVIDValue("sim0", "12AB");
  entry::QZ_UpdateCustomizedSetting("sim0");
  entry::QZ_GetVIDfromFlash("sim0", &vid);
  entry::QZ_SetFWBinFilePath("/tmp/a b.bin");
  EXPECT_EQ(env_.ReadText(trace),
            "QZ_GetDeviceList(list, out) = 1\n"
            "QZ_InitialCustomizedSettingTable() = 1\n"
            "QZ_EnableUpdateVID(\"sim0\", 1) = 1\n"
            "QZ_SetVIDValue(\"sim0\", \"12AB\") = 1\n"
            "QZ_UpdateCustomizedSetting(\"sim0\") = 1\n"
            "QZ_GetVIDfromFlash(\"sim0\", out) = 1\n"
            "QZ_SetFWBinFilePath(\"/tmp/a b.bin\") = 0\n");
}

TEST_F(TraceTest, NoTraceVariableWritesNoFile) {
  entry::QZ_InitialCustomizedSettingTable();
  EXPECT_EQ(env_.ReadText(env_.File("trace.txt")), "");
}

struct RuleCase {
  const char* text;
  std::vector<FaultRule> rules;
};

TEST(FaultRules, Parsing) {
  const RuleCase cases[] = {
      {"", {}},
      {"QZ_A", {{"QZ_A", 0, 0}}},
      {"QZ_A=5", {{"QZ_A", 0, 5}}},
      {"QZ_A@2", {{"QZ_A", 2, 0}}},
      {"QZ_A@3=-4", {{"QZ_A", 3, -4}}},
      {"QZ_A, QZ_B=7 ,QZ_C@1", {{"QZ_A", 0, 0}, {"QZ_B", 0, 7}, {"QZ_C", 1, 0}}},
      // Malformed rules are ignored, the rest still apply.
      {"QZ_A@0,QZ_B@x,=3,QZ_C=,QZ_D=99999999999,QZ_E@2=1", {{"QZ_E", 2, 1}}},
  };
  for (const RuleCase& c : cases) EXPECT_EQ(ParseFaultRules(c.text), c.rules) << c.text;
}

TEST(FaultRules, FirstMatchingRuleWins) {
  const std::vector<FaultRule> rules = ParseFaultRules("QZ_A@2=9,QZ_A=3");
  EXPECT_EQ(FaultFor(rules, "QZ_A", 1), 3);
  EXPECT_EQ(FaultFor(rules, "QZ_A", 2), 9);
  EXPECT_EQ(FaultFor(rules, "QZ_B", 1), std::nullopt);
}

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override { env_.UseSingleDevice(Series::kOther); }
  SimEnvironment env_;
};

TEST_F(FaultTest, FaultedCallHasNoEffectAndReturnsTheValue) {
  SetFaults("QZ_GetVIDfromFlash=5,QZ_UpdateCustomizedSetting");
  uint16_t vid = 0;
  EXPECT_EQ(entry::QZ_GetVIDfromFlash("sim0", &vid), 5);
  EXPECT_EQ(vid, 0);
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateVID("sim0", 1), 1);
  ASSERT_EQ(entry::QZ_SetVIDValue("sim0", "1111"), 1);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting("sim0"), 0);
  EXPECT_EQ(env_.ReadDevice().settings.vid, 0x3A5C);
}

TEST_F(FaultTest, NthCallOnlyAndStillTraced) {
  const std::string trace = env_.EnableTrace();
  SetFaults("QZ_IsQZT7Series@2=1");
  EXPECT_EQ(entry::QZ_IsQZT7Series("sim0"), 0);
  EXPECT_EQ(entry::QZ_IsQZT7Series("sim0"), 1);
  EXPECT_EQ(entry::QZ_IsQZT7Series("sim0"), 0);
  EXPECT_EQ(env_.ReadText(trace),
            "QZ_IsQZT7Series(\"sim0\") = 0\n"
            "QZ_IsQZT7Series(\"sim0\") = 1\n"
            "QZ_IsQZT7Series(\"sim0\") = 0\n");
}

TEST_F(FaultTest, FaultedOutputCallWritesNothing) {
  SetFaults("QZ_GetDeviceList@1");
  char buffer[256] = {};
  char* list[16] = {buffer};
  int32_t count = 9;
  EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 0);
  EXPECT_EQ(count, 9);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 1);
  EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace sim
