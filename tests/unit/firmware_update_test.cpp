// The three firmware updates: call orders per chip series, a failure at every
// call position, the record check, the running-code guard, results, guards.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ops/operations.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

using Calls = std::vector<std::string>;

const char* const kMatch = "QZ_CheckLoadBinFileMatch(\"dev0\", \"fw.bin\")";
const char* const kSetPath = "QZ_SetFWBinFilePath(\"fw.bin\")";
const char* const kInit = "QZ_InitialCustomizedSettingTable()";
const char* const kSeries = "QZ_IsQZT7Series(\"dev0\")";
const char* const kMode = "QZ_GetRunningCodeMode(\"dev0\", out)";
const char* const kBinMismatch = "Bin file not match \n";
const char* const kPathRefused = "Set firmware bin file path fail\n";
const char* const kRefused = "Input parameter error! \n";

CustomizedSetting FullRecord() {
  CustomizedSetting s = {};
  std::strcpy(s.vidText, "12AB");
  std::strcpy(s.pidText, "0C0D");
  std::strcpy(s.manufacturer, "Maker Co");
  std::strcpy(s.product, "Disk Box");
  std::strcpy(s.serialNumber, "SN01");
  std::strcpy(s.hddString1, "HDDV");
  std::strcpy(s.hddString2, "HDDP");
  s.standbyTimer = 300;
  return s;
}

Calls WithSettingsCalls(bool isT7) {
  Calls calls = {kMatch,
                 kSetPath,
                 kInit,
                 kSeries,
                 "QZ_EnableUpdateVID(\"dev0\", 1)",
                 "QZ_EnableUpdatePID(\"dev0\", 1)",
                 "QZ_EnableUpdateSN(\"dev0\", 1)",
                 "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)"};
  const Calls enable =
      isT7 ? Calls{"QZ_EnableUpdateManuProdCtl(\"dev0\", 1)",
                   "QZ_EnableUpdateInquiryCtl(\"dev0\", 1)"}
           : Calls{"QZ_EnableUpdateDisplayHDDStrSetting(\"dev0\", 1)",
                   "QZ_EnableUpdateManuStr(\"dev0\", 1)", "QZ_EnableUpdateProdStr(\"dev0\", 1)"};
  const Calls values = {
      "QZ_SetVIDValue(\"dev0\", \"12AB\")",      "QZ_SetPIDValue(\"dev0\", \"0C0D\")",
      "QZ_SetSerialNumStr(\"dev0\", \"SN01\")",  "QZ_SetScsiVidString(\"dev0\", \"HDDV\")",
      "QZ_SetScsiPidString(\"dev0\", \"HDDP\")", "QZ_SetStandbyTimer(\"dev0\", 300)"};
  const Calls controls =
      isT7 ? Calls{"QZ_SetManuProdCtl(\"dev0\", 1)", "QZ_SetInquiryCtl(\"dev0\", 1)",
                   "QZ_SetUsbManuString(\"dev0\", \"Maker Co\")",
                   "QZ_SetUsbProdString(\"dev0\", \"Disk Box\")"}
           : Calls{"QZ_EnableMapToHDDStr(\"dev0\", 1)", "QZ_SetSNFromNVRAMTable(\"dev0\", 1)",
                   "QZ_SetManuStr(\"dev0\", \"Maker Co\")",
                   "QZ_SetProdString(\"dev0\", \"Disk Box\")"};
  for (const Calls* part : {&enable, &values, &controls}) {
    calls.insert(calls.end(), part->begin(), part->end());
  }
  calls.push_back("QZ_FWUpdateProgrammingEX(\"dev0\")");
  return calls;
}

class FirmwareUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

// position: the call made to fail; past the end nothing fails.
TEST_F(FirmwareUpdateTest, WithSettingsStagesInSeriesOrderAndStopsAtEveryFailingCall) {
  for (const bool isT7 : {true, false}) {
    const Calls full = WithSettingsCalls(isT7);
    for (size_t position = 0; position <= full.size(); ++position) {
      const bool fails = position < full.size();
      // A failing series query answers "other series", a path of its own.
      if (fails && full[position] == kSeries) continue;
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      Fake().failAt = static_cast<int>(position);
      const CustomizedSetting setting = FullRecord();
      ConsoleCapture capture;
      const std::string where = std::to_string(isT7) + " @" + std::to_string(position);
      EXPECT_EQ(OpUpdateWithCustomizedSetting(&setting, "fw.bin"), fails ? 0 : 1) << where;
      // The series is asked right after the table preparation, whatever it returned.
      const size_t made = !fails                    ? full.size()
                          : full[position] == kInit ? position + 2
                                                    : position + 1;
      EXPECT_EQ(Fake().CallTexts(), Calls(full.begin(), full.begin() + made)) << where;
      EXPECT_EQ(capture.Output(), position == 0   ? kBinMismatch
                                  : position == 1 ? kPathRefused
                                                  : "")
          << where;
    }
  }
}

TEST_F(FirmwareUpdateTest, WithSettingsRefusesAnIncompleteRecordAfterTheImage) {
  for (int field = 0; field <= 8; ++field) {  // 7: a negative timer; 8: timer 0, read-back unset
    InstallFakeLibrary();
    CustomizedSetting s = FullRecord();
    char* const texts[] = {s.vidText,      s.pidText,    s.manufacturer, s.product,
                           s.serialNumber, s.hddString1, s.hddString2};
    if (field < 7) texts[field][0] = '\0';
    if (field >= 7) s.standbyTimer = field == 7 ? -1 : 0;
    const bool accepted = field == 8;
    ConsoleCapture capture;
    EXPECT_EQ(OpUpdateWithCustomizedSetting(&s, "fw.bin"), accepted ? 1 : 0) << field;
    EXPECT_EQ(capture.Output(), accepted ? "" : kRefused) << field;
    EXPECT_EQ(Fake().CallTexts().size(), accepted ? WithSettingsCalls(false).size() : 2u) << field;
  }
  // The image is judged before the record.
  InstallFakeLibrary();
  Fake().failNames = {"QZ_CheckLoadBinFileMatch"};
  CustomizedSetting setting = FullRecord();
  setting.serialNumber[0] = '\0';
  ConsoleCapture capture;
  EXPECT_EQ(OpUpdateWithCustomizedSetting(&setting, "fw.bin"), 0);
  EXPECT_EQ(capture.Output(), kBinMismatch);
  EXPECT_EQ(Fake().CallTexts(), Calls{kMatch});
}

// The two updates that keep the image's or the device's settings.
TEST_F(FirmwareUpdateTest, PlainUpdatesPrepareTheImageAndReportOnlyAFailedInit) {
  const struct {
    int32_t (*run)(const char*);
    Calls calls;
  } updates[] = {
      {OpUpdateFromBin, {kMatch, kSetPath, kInit, "QZ_FWUpdateProgramming(\"dev0\")"}},
      {OpUpdateNoCustomizedSetting,
       {kMode, kMatch, kSetPath, kInit, "QZ_FWUpdateProgrammingNoCustomizedSetting(\"dev0\")"}},
  };
  for (const auto& update : updates) {
    const size_t count = update.calls.size();
    for (const bool isT7 : {true, false}) {
      for (size_t position = 0; position <= count; ++position) {
        const std::string failing = position < count ? update.calls[position] : "";
        if (failing == kMode) continue;  // the running-code guard has its own test
        InstallFakeLibrary();
        Fake().isT7 = isT7;
        Fake().failAt = static_cast<int>(position);
        ConsoleCapture capture;
        // A failed init is reported, yet programming goes ahead.
        const bool programmed = position >= count - 2;
        EXPECT_EQ(update.run("fw.bin"), programmed && position != count - 1 ? 1 : 0) << failing;
        const size_t made = programmed ? count : position + 1;
        EXPECT_EQ(Fake().CallTexts(), Calls(update.calls.begin(), update.calls.begin() + made))
            << failing;
        EXPECT_EQ(capture.Output(), failing == kMatch     ? kBinMismatch
                                    : failing == kSetPath ? kPathRefused
                                    : failing == kInit    ? "Initial NVRAM data setting fail.\n"
                                                          : "")
            << failing;
      }
    }
  }
}

TEST_F(FirmwareUpdateTest, NoSettingsUpdateRunsOnlyOnRegularFirmware) {
  const char* const kInternal = "Internal code is not supported in current function\n";
  const struct {
    int32_t mode;
    bool modeFails;
    int32_t modeResult;
    const char* output;
  } cases[] = {
      {0, false, 1, "Current FW version is unknown \n"},
      {1, false, 1, kInternal},
      {3, false, 1, kInternal},
      {2, false, 0, ""},  // only the mode written counts, not the call's result
      {2, true, 0, "Current FW version is unknown \n"},  // a mode never written
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().runningMode = c.mode;
    Fake().results["QZ_GetRunningCodeMode"] = c.modeResult;
    if (c.modeFails) Fake().failNames = {"QZ_GetRunningCodeMode"};
    const bool programmed = c.output[0] == '\0';
    ConsoleCapture capture;
    EXPECT_EQ(OpUpdateNoCustomizedSetting("fw.bin"), programmed ? 1 : 0) << c.mode;
    EXPECT_EQ(capture.Output(), c.output) << c.mode;
    EXPECT_EQ(Fake().calls.size(), programmed ? 5u : 1u) << c.mode;
  }
}

TEST_F(FirmwareUpdateTest, ProgrammingResultsPassOnAndNoDeviceIsRefused) {
  const CustomizedSetting setting = FullRecord();
  const struct {
    const char* programming;
    std::function<int32_t()> run;
  } cases[] = {
      {"QZ_FWUpdateProgramming", [] { return OpUpdateFromBin("fw.bin"); }},
      {"QZ_FWUpdateProgrammingNoCustomizedSetting",
       [] { return OpUpdateNoCustomizedSetting("fw.bin"); }},
      {"QZ_FWUpdateProgrammingEX",
       [&setting] { return OpUpdateWithCustomizedSetting(&setting, "fw.bin"); }},
  };
  for (const auto& c : cases) {
    for (const int32_t value : {7, -5}) {
      InstallFakeLibrary();
      Fake().results[c.programming] = value;
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), value) << c.programming;
      EXPECT_EQ(capture.Output(), "") << c.programming;
    }
    for (const int32_t count : {0, -1}) {
      InstallFakeLibrary();
      SetFakeDeviceCount(count);
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), 0) << c.programming;
      EXPECT_EQ(capture.Output(), kRefused) << c.programming;
      EXPECT_TRUE(Fake().calls.empty()) << c.programming;
    }
  }
}

}  // namespace
