#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ops/operations.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

using Calls = std::vector<std::string>;

const char* const kInit = "QZ_InitialCustomizedSettingTable()";
const char* const kSeries = "QZ_IsQZT7Series(\"dev0\")";
const char* const kCommit = "QZ_UpdateCustomizedSetting(\"dev0\")";

struct WriteCase {
  const char* name;
  std::function<int32_t()> run;
  Calls t7;
  Calls other;
};

const std::vector<WriteCase>& WriteCases() {
  static const std::vector<WriteCase> cases = {
      {"OpSetVendorId",
       [] { return OpSetVendorId("12AB"); },
       {kInit, "QZ_EnableUpdateVID(\"dev0\", 1)", "QZ_SetVIDValue(\"dev0\", \"12AB\")", kCommit},
       {kInit, "QZ_EnableUpdateVID(\"dev0\", 1)", "QZ_SetVIDValue(\"dev0\", \"12AB\")", kCommit}},
      {"OpSetProductId",
       [] { return OpSetProductId("0C4"); },
       {kInit, "QZ_EnableUpdatePID(\"dev0\", 1)", "QZ_SetPIDValue(\"dev0\", \"0C4\")", kCommit},
       {kInit, "QZ_EnableUpdatePID(\"dev0\", 1)", "QZ_SetPIDValue(\"dev0\", \"0C4\")", kCommit}},
      {"OpSetSerialNumber",
       [] { return OpSetSerialNumber("SN01"); },
       {kInit, kSeries, "QZ_EnableUpdateSN(\"dev0\", 1)", "QZ_SetSerialNumStr(\"dev0\", \"SN01\")",
        kCommit},
       {kInit, kSeries, "QZ_EnableUpdateSN(\"dev0\", 1)", "QZ_SetSNFromNVRAMTable(\"dev0\", 1)",
        "QZ_SetSerialNumStr(\"dev0\", \"SN01\")", kCommit}},
      {"OpSetManufacturerString",
       [] { return OpSetManufacturerString("Maker Co"); },
       {kInit, kSeries, "QZ_EnableUpdateManuProdCtl(\"dev0\", 1)", "QZ_SetManuProdCtl(\"dev0\", 1)",
        "QZ_SetUsbManuString(\"dev0\", \"Maker Co\")", kCommit},
       {kInit, kSeries, "QZ_EnableUpdateManuStr(\"dev0\", 1)",
        "QZ_SetManuStr(\"dev0\", \"Maker Co\")", kCommit}},
      {"OpSetProductString",
       [] { return OpSetProductString("Box"); },
       {kInit, kSeries, "QZ_EnableUpdateManuProdCtl(\"dev0\", 1)", "QZ_SetManuProdCtl(\"dev0\", 1)",
        "QZ_SetUsbProdString(\"dev0\", \"Box\")", kCommit},
       {kInit, kSeries, "QZ_EnableUpdateProdStr(\"dev0\", 1)",
        "QZ_SetProdString(\"dev0\", \"Box\")", kCommit}},
      {"OpSetStandbyTimer",
       [] { return OpSetStandbyTimer(600); },
       {kSeries, "QZ_UpdateT7StandbyTimer(\"dev0\", 600)"},
       {kSeries, kInit, "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)",
        "QZ_SetStandbyTimer(\"dev0\", 600)", kCommit}},
      {"OpSetHDDString",
       [] { return OpSetHDDString("VEND", "PROD"); },
       {kInit, kSeries, "QZ_EnableUpdateInquiryCtl(\"dev0\", 1)",
        "QZ_SetScsiVidString(\"dev0\", \"VEND\")", "QZ_SetScsiPidString(\"dev0\", \"PROD\")",
        "QZ_SetInquiryCtl(\"dev0\", 1)", kCommit},
       {kInit, kSeries, "QZ_EnableUpdateDisplayHDDStrSetting(\"dev0\", 1)",
        "QZ_SetScsiVidString(\"dev0\", \"VEND\")", "QZ_SetScsiPidString(\"dev0\", \"PROD\")",
        "QZ_EnableMapToHDDStr(\"dev0\", 1)", kCommit}},
  };
  return cases;
}

class SettingsWriteTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

TEST_F(SettingsWriteTest, EachOperationMakesItsSeriesCallsInOrder) {
  for (const WriteCase& c : WriteCases()) {
    for (const bool isT7 : {true, false}) {
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), 1) << c.name << " isT7=" << isT7;
      EXPECT_EQ(Fake().CallTexts(), isT7 ? c.t7 : c.other) << c.name << " isT7=" << isT7;
      EXPECT_EQ(capture.Output(), "") << c.name;
    }
  }
}

TEST_F(SettingsWriteTest, AFailedCallEndsTheSequenceWithNoLaterCall) {
  for (const WriteCase& c : WriteCases()) {
    for (const bool isT7 : {true, false}) {
      const Calls& expected = isT7 ? c.t7 : c.other;
      for (size_t at = 0; at < expected.size(); ++at) {
        // A series answer of 0 is no failure: it picks the other row.
        if (expected[at] == kSeries) continue;
        InstallFakeLibrary();
        Fake().isT7 = isT7;
        Fake().failAt = static_cast<int>(at);
        ConsoleCapture capture;
        const std::string where =
            std::string(c.name) + (isT7 ? " t7 @" : " other @") + std::to_string(at);
        EXPECT_EQ(c.run(), 0) << where;
        Calls made(expected.begin(), expected.begin() + at + 1);
        // Init failing still lets the series be asked, then nothing more.
        if (expected[at] == kInit && at + 1 < expected.size() && expected[at + 1] == kSeries) {
          made.push_back(kSeries);
        }
        EXPECT_EQ(Fake().CallTexts(), made) << where;
        EXPECT_EQ(capture.Output(), "") << where;
      }
    }
  }
}

TEST_F(SettingsWriteTest, InitFailingStillAsksTheSeriesOnce) {
  Fake().failNames = {"QZ_InitialCustomizedSettingTable"};
  ConsoleCapture capture;
  EXPECT_EQ(OpSetSerialNumber("SN01"), 0);
  EXPECT_EQ(Fake().CallTexts(), (Calls{kInit, kSeries}));
}

TEST_F(SettingsWriteTest, CommitResultPassesThroughButTheTimerGivesOneOrZero) {
  struct ResultCase {
    const char* name;
    std::function<int32_t()> run;
    bool isT7;
    const char* resultEntry;
    int32_t libraryResult;
    int32_t expected;
  };
  const ResultCase cases[] = {
      {"serial", [] { return OpSetSerialNumber("S"); }, false, "QZ_UpdateCustomizedSetting", 7, 7},
      {"serial t7", [] { return OpSetSerialNumber("S"); }, true, "QZ_UpdateCustomizedSetting", -3,
       -3},
      {"vid", [] { return OpSetVendorId("1"); }, false, "QZ_UpdateCustomizedSetting", 7, 7},
      {"hdd", [] { return OpSetHDDString("a", "b"); }, true, "QZ_UpdateCustomizedSetting", 9, 9},
      {"timer", [] { return OpSetStandbyTimer(5); }, false, "QZ_UpdateCustomizedSetting", 7, 1},
      {"timer t7", [] { return OpSetStandbyTimer(5); }, true, "QZ_UpdateT7StandbyTimer", 5, 1},
      {"timer t7 neg", [] { return OpSetStandbyTimer(5); }, true, "QZ_UpdateT7StandbyTimer", -1, 1},
      // Intermediate results other than 0 count as success too.
      {"enable 2", [] { return OpSetManufacturerString("M"); }, false, "QZ_EnableUpdateManuStr", 2,
       1},
      {"init 4", [] { return OpSetProductId("1"); }, false, "QZ_InitialCustomizedSettingTable", 4,
       1},
  };
  for (const ResultCase& c : cases) {
    InstallFakeLibrary();
    Fake().isT7 = c.isT7;
    Fake().results[c.resultEntry] = c.libraryResult;
    ConsoleCapture capture;
    EXPECT_EQ(c.run(), c.expected) << c.name;
  }
}

TEST_F(SettingsWriteTest, GuardsRefuseBeforeAnyLibraryCall) {
  struct GuardCase {
    const char* name;
    std::function<int32_t()> run;
  };
  const GuardCase refused[] = {
      {"empty serial", [] { return OpSetSerialNumber(""); }},
      {"empty manufacturer", [] { return OpSetManufacturerString(""); }},
      {"empty product", [] { return OpSetProductString(""); }},
      {"null serial", [] { return OpSetSerialNumber(nullptr); }},
      {"null manufacturer", [] { return OpSetManufacturerString(nullptr); }},
      {"null product", [] { return OpSetProductString(nullptr); }},
      {"null vid", [] { return OpSetVendorId(nullptr); }},
      {"null pid", [] { return OpSetProductId(nullptr); }},
      {"null first hdd", [] { return OpSetHDDString(nullptr, "b"); }},
      {"null second hdd", [] { return OpSetHDDString("a", nullptr); }},
      {"timer -1", [] { return OpSetStandbyTimer(-1); }},
      {"timer min", [] { return OpSetStandbyTimer(INT32_MIN); }},
  };
  for (const GuardCase& c : refused) {
    for (const bool isT7 : {true, false}) {
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), 0) << c.name;
      EXPECT_EQ(capture.Output(), "Input parameter error! \n") << c.name;
      EXPECT_TRUE(Fake().calls.empty()) << c.name;
    }
  }
}

TEST_F(SettingsWriteTest, NoDeviceRefusesEveryOperation) {
  for (const int32_t count : {0, -1}) {
    for (const WriteCase& c : WriteCases()) {
      InstallFakeLibrary();
      SetFakeDeviceCount(count);
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), 0) << c.name;
      EXPECT_EQ(capture.Output(), "Input parameter error! \n") << c.name;
      EXPECT_TRUE(Fake().calls.empty()) << c.name;
    }
  }
}

TEST_F(SettingsWriteTest, EmptyIdsEmptyHddStringsAndZeroTimerReachTheLibrary) {
  struct PassCase {
    std::function<int32_t()> run;
    bool isT7;
    Calls calls;
  };
  const PassCase cases[] = {
      {[] { return OpSetVendorId(""); },
       false,
       {kInit, "QZ_EnableUpdateVID(\"dev0\", 1)", "QZ_SetVIDValue(\"dev0\", \"\")", kCommit}},
      {[] { return OpSetProductId(""); },
       true,
       {kInit, "QZ_EnableUpdatePID(\"dev0\", 1)", "QZ_SetPIDValue(\"dev0\", \"\")", kCommit}},
      {[] { return OpSetHDDString("", ""); },
       false,
       {kInit, kSeries, "QZ_EnableUpdateDisplayHDDStrSetting(\"dev0\", 1)",
        "QZ_SetScsiVidString(\"dev0\", \"\")", "QZ_SetScsiPidString(\"dev0\", \"\")",
        "QZ_EnableMapToHDDStr(\"dev0\", 1)", kCommit}},
      {[] { return OpSetStandbyTimer(0); },
       true,
       {kSeries, "QZ_UpdateT7StandbyTimer(\"dev0\", 0)"}},
      {[] { return OpSetStandbyTimer(0); },
       false,
       {kSeries, kInit, "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)",
        "QZ_SetStandbyTimer(\"dev0\", 0)", kCommit}},
  };
  for (const PassCase& c : cases) {
    InstallFakeLibrary();
    Fake().isT7 = c.isT7;
    ConsoleCapture capture;
    EXPECT_EQ(c.run(), 1);
    EXPECT_EQ(capture.Output(), "");
    EXPECT_EQ(Fake().CallTexts(), c.calls);
  }
}

}  // namespace
