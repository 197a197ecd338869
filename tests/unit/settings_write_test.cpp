// Settings writes: the call order per chip series, a failure at each call,
// results, guards.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ops/operations.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

using Calls = std::vector<std::string>;
using Op = std::function<int32_t()>;

const char* const kInit = "QZ_InitialCustomizedSettingTable()";
const char* const kSeries = "QZ_IsQZT7Series(\"dev0\")";
const char* const kCommit = "QZ_UpdateCustomizedSetting(\"dev0\")";

// QZ_name("dev0", "text") and QZ_name("dev0", 1).
std::string S(const char* name, const char* text) {
  return std::string("QZ_") + name + "(\"dev0\", \"" + text + "\")";
}
std::string On(const char* name) { return std::string("QZ_") + name + "(\"dev0\", 1)"; }

struct WriteCase {
  const char* name;
  Op run;
  Calls t7;
  Calls other;
};

const std::vector<WriteCase> kWrites = {
    {"vid",
     [] { return OpSetVendorId("12AB"); },
     {kInit, On("EnableUpdateVID"), S("SetVIDValue", "12AB"), kCommit},
     {kInit, On("EnableUpdateVID"), S("SetVIDValue", "12AB"), kCommit}},
    {"pid",
     [] { return OpSetProductId("0C4"); },
     {kInit, On("EnableUpdatePID"), S("SetPIDValue", "0C4"), kCommit},
     {kInit, On("EnableUpdatePID"), S("SetPIDValue", "0C4"), kCommit}},
    {"serial",
     [] { return OpSetSerialNumber("SN01"); },
     {kInit, kSeries, On("EnableUpdateSN"), S("SetSerialNumStr", "SN01"), kCommit},
     {kInit, kSeries, On("EnableUpdateSN"), On("SetSNFromNVRAMTable"), S("SetSerialNumStr", "SN01"),
      kCommit}},
    {"manufacturer",
     [] { return OpSetManufacturerString("Maker Co"); },
     {kInit, kSeries, On("EnableUpdateManuProdCtl"), On("SetManuProdCtl"),
      S("SetUsbManuString", "Maker Co"), kCommit},
     {kInit, kSeries, On("EnableUpdateManuStr"), S("SetManuStr", "Maker Co"), kCommit}},
    {"product",
     [] { return OpSetProductString("Box"); },
     {kInit, kSeries, On("EnableUpdateManuProdCtl"), On("SetManuProdCtl"),
      S("SetUsbProdString", "Box"), kCommit},
     {kInit, kSeries, On("EnableUpdateProdStr"), S("SetProdString", "Box"), kCommit}},
    {"timer",
     [] { return OpSetStandbyTimer(600); },
     {kSeries, "QZ_UpdateT7StandbyTimer(\"dev0\", 600)"},
     {kSeries, kInit, On("EnableUpdateStandbyTimer"), "QZ_SetStandbyTimer(\"dev0\", 600)",
      kCommit}},
    {"hdd",
     [] { return OpSetHDDString("VEND", "PROD"); },
     {kInit, kSeries, On("EnableUpdateInquiryCtl"), S("SetScsiVidString", "VEND"),
      S("SetScsiPidString", "PROD"), On("SetInquiryCtl"), kCommit},
     {kInit, kSeries, On("EnableUpdateDisplayHDDStrSetting"), S("SetScsiVidString", "VEND"),
      S("SetScsiPidString", "PROD"), On("EnableMapToHDDStr"), kCommit}},
};

class SettingsWriteTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

// at: the call made to fail; past the end nothing fails.
TEST_F(SettingsWriteTest, EachWriteMakesItsSeriesCallsAndStopsAtAFailingOne) {
  for (const WriteCase& c : kWrites) {
    for (const bool isT7 : {true, false}) {
      const Calls& expected = isT7 ? c.t7 : c.other;
      for (size_t at = 0; at <= expected.size(); ++at) {
        // A series answer of 0 is no failure: it picks the other row.
        if (at < expected.size() && expected[at] == kSeries) continue;
        InstallFakeLibrary();
        Fake().isT7 = isT7;
        Fake().failAt = static_cast<int>(at);
        ConsoleCapture capture;
        const std::string where =
            std::string(c.name) + (isT7 ? " t7 @" : " other @") + std::to_string(at);
        EXPECT_EQ(c.run(), at < expected.size() ? 0 : 1) << where;
        Calls made(expected.begin(), expected.begin() + std::min(at + 1, expected.size()));
        // A failed init still lets the series be asked, then nothing more.
        if (at + 1 < expected.size() && expected[at] == kInit && expected[at + 1] == kSeries) {
          made.push_back(kSeries);
        }
        EXPECT_EQ(Fake().CallTexts(), made) << where;
        EXPECT_EQ(capture.Output(), "") << where;
      }
    }
  }
}

TEST_F(SettingsWriteTest, TheCommitResultPassesThroughButTheTimerGivesOne) {
  const struct {
    Op run;
    bool isT7;
    const char* entry;
    int32_t libraryResult;
    int32_t expected;
  } cases[] = {
      {[] { return OpSetSerialNumber("S"); }, false, "QZ_UpdateCustomizedSetting", 7, 7},
      {[] { return OpSetHDDString("a", "b"); }, true, "QZ_UpdateCustomizedSetting", -3, -3},
      {[] { return OpSetStandbyTimer(5); }, false, "QZ_UpdateCustomizedSetting", 7, 1},
      {[] { return OpSetStandbyTimer(5); }, true, "QZ_UpdateT7StandbyTimer", -1, 1},
      // Intermediate results other than 0 count as success too.
      {[] { return OpSetManufacturerString("M"); }, false, "QZ_EnableUpdateManuStr", 2, 1},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().isT7 = c.isT7;
    Fake().results[c.entry] = c.libraryResult;
    EXPECT_EQ(c.run(), c.expected) << c.entry;
  }
}

TEST_F(SettingsWriteTest, GuardsRefuseBeforeAnyCallOthersReachTheLibrary) {
  const struct {
    Op run;
    bool accepted;
  } cases[] = {
      {[] { return OpSetSerialNumber(""); }, false},
      {[] { return OpSetManufacturerString(""); }, false},
      {[] { return OpSetProductString(""); }, false},
      {[] { return OpSetSerialNumber(nullptr); }, false},
      {[] { return OpSetManufacturerString(nullptr); }, false},
      {[] { return OpSetProductString(nullptr); }, false},
      {[] { return OpSetVendorId(nullptr); }, false},
      {[] { return OpSetProductId(nullptr); }, false},
      {[] { return OpSetHDDString(nullptr, "b"); }, false},
      {[] { return OpSetHDDString("a", nullptr); }, false},
      {[] { return OpSetStandbyTimer(-1); }, false},
      {[] { return OpSetVendorId(""); }, true},
      {[] { return OpSetProductId(""); }, true},
      {[] { return OpSetHDDString("", ""); }, true},
      {[] { return OpSetStandbyTimer(0); }, true},
  };
  int row = 0;
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture;
    EXPECT_EQ(c.run(), c.accepted ? 1 : 0) << "row " << row;
    EXPECT_EQ(capture.Output(), c.accepted ? "" : "Input parameter error! \n") << "row " << row;
    EXPECT_EQ(Fake().calls.empty(), !c.accepted) << "row " << row++;
  }
  for (const int32_t count : {0, -1}) {
    for (const WriteCase& c : kWrites) {
      InstallFakeLibrary();
      SetFakeDeviceCount(count);
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), 0) << c.name;
      EXPECT_EQ(capture.Output(), "Input parameter error! \n") << c.name;
      EXPECT_TRUE(Fake().calls.empty()) << c.name;
    }
  }
}

}  // namespace
