// The test knobs: the trace line of every call and the fault rules.
#include <string>
#include <vector>

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

using namespace testing;

TEST(TraceFormat, QuotesAndEscapesText) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "\"\""},
      {"/tmp/a b.bin", "\"/tmp/a b.bin\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\fw\\x.bin", "\"C:\\\\fw\\\\x.bin\""},
      {"tab\there", "\"tab\\x09here\""},
      {"\x7f\xe9", "\"\\x7F\\xE9\""},
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(QuoteText(text), quoted) << text;
  EXPECT_EQ(QuoteText(nullptr), "null");
}

TEST_F(SimTest, EveryCallAppendsOneLineAndFaultedCallsAreTraced) {
  const std::string trace = EnableTrace();
  SetFaults("QZ_IsQZT7Series@2=7");
  char buffers[16][256];
  char* list[16];
  for (int i = 0; i < 16; ++i) list[i] = buffers[i];
  int32_t count = 0;
  uint16_t vid = 0;
  entry::QZ_GetDeviceList(list, &count);
  entry::QZ_InitialCustomizedSettingTable();
  entry::QZ_EnableUpdateVID(kDev, 1);
  entry::QZ_SetVIDValue(kDev, "12AB");
  entry::QZ_SetStandbyTimer(kDev, -7);
  entry::QZ_UpdateCustomizedSetting(kDev);
  entry::QZ_GetVIDfromFlash(kDev, &vid);
  entry::QZ_GetRunningCodeMode(kDev, &count);
  entry::QZ_SetFWBinFilePath("/tmp/a\" b.bin");
  for (int i = 0; i < 3; ++i) entry::QZ_IsQZT7Series(kDev);
  EXPECT_EQ(ReadText(trace),
            "QZ_GetDeviceList(list, out) = 1\n"
            "QZ_InitialCustomizedSettingTable() = 1\n"
            "QZ_EnableUpdateVID(\"sim0\", 1) = 1\n"
            "QZ_SetVIDValue(\"sim0\", \"12AB\") = 1\n"
            "QZ_SetStandbyTimer(\"sim0\", -7) = 0\n"
            "QZ_UpdateCustomizedSetting(\"sim0\") = 1\n"
            "QZ_GetVIDfromFlash(\"sim0\", out) = 1\n"
            "QZ_GetRunningCodeMode(\"sim0\", out) = 1\n"
            "QZ_SetFWBinFilePath(\"/tmp/a\\\" b.bin\") = 0\n"
            "QZ_IsQZT7Series(\"sim0\") = 0\n"
            "QZ_IsQZT7Series(\"sim0\") = 7\n"
            "QZ_IsQZT7Series(\"sim0\") = 0\n");
}

TEST(FaultRules, ParsingAndFirstMatch) {
  const std::pair<const char*, std::vector<FaultRule>> cases[] = {
      {"", {}},
      {"QZ_A", {{"QZ_A", 0, 0}}},
      {"QZ_A=5", {{"QZ_A", 0, 5}}},
      {"QZ_A@2", {{"QZ_A", 2, 0}}},
      {"QZ_A@3=-4", {{"QZ_A", 3, -4}}},
      {"QZ_A, QZ_B=7 ,QZ_C@1", {{"QZ_A", 0, 0}, {"QZ_B", 0, 7}, {"QZ_C", 1, 0}}},
      // Malformed rules are ignored, the rest still apply.
      {"QZ_A@0,QZ_B@x,=3,QZ_C=,QZ_D=99999999999,QZ_E@2=1", {{"QZ_E", 2, 1}}},
  };
  for (const auto& [text, rules] : cases) EXPECT_EQ(ParseFaultRules(text), rules) << text;
  const std::vector<FaultRule> rules = ParseFaultRules("QZ_A@2=9,QZ_A=3");
  EXPECT_EQ(FaultFor(rules, "QZ_A", 1), 3);
  EXPECT_EQ(FaultFor(rules, "QZ_A", 2), 9);
  EXPECT_EQ(FaultFor(rules, "QZ_B", 1), std::nullopt);
}

TEST_F(SimTest, FaultedCallHasNoEffectAndWritesNothing) {
  SetFaults("QZ_GetVIDfromFlash=5,QZ_UpdateCustomizedSetting,QZ_GetDeviceList@1");
  uint16_t vid = 0;
  EXPECT_EQ(entry::QZ_GetVIDfromFlash(kDev, &vid), 5);
  EXPECT_EQ(vid, 0);
  char buffer[256] = {};
  char* list[16] = {buffer};
  int32_t count = 9;
  EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 0);
  EXPECT_EQ(count, 9);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 1);
  EXPECT_EQ(count, 1);
  RunScript(
      "InitialCustomizedSettingTable; EnableUpdateVID:1; SetVIDValue:1111; "
      "UpdateCustomizedSetting=0");
  EXPECT_EQ(ReadDevice().settings.vid, 0x3A5C);
}

}  // namespace
}  // namespace sim
