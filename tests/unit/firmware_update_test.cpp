// The three firmware updates against the recording fake: call orders per chip
// series, a failure at every call position, the record check and the guards.
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
const char* const kInitFailed = "Initial NVRAM data setting fail.\n";
const char* const kParameterError = "Input parameter error! \n";

CustomizedSetting FullRecord() {
  CustomizedSetting setting = {};
  std::strcpy(setting.vidText, "12AB");
  std::strcpy(setting.pidText, "0C0D");
  std::strcpy(setting.manufacturer, "Maker Co");
  std::strcpy(setting.product, "Disk Box");
  std::strcpy(setting.serialNumber, "SN01");
  std::strcpy(setting.hddString1, "HDDV");
  std::strcpy(setting.hddString2, "HDDP");
  setting.standbyTimer = 300;
  return setting;
}

const Calls kEnableBoth = {"QZ_EnableUpdateVID(\"dev0\", 1)", "QZ_EnableUpdatePID(\"dev0\", 1)",
                           "QZ_EnableUpdateSN(\"dev0\", 1)",
                           "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)"};
const Calls kValuesBoth = {
    "QZ_SetVIDValue(\"dev0\", \"12AB\")",      "QZ_SetPIDValue(\"dev0\", \"0C0D\")",
    "QZ_SetSerialNumStr(\"dev0\", \"SN01\")",  "QZ_SetScsiVidString(\"dev0\", \"HDDV\")",
    "QZ_SetScsiPidString(\"dev0\", \"HDDP\")", "QZ_SetStandbyTimer(\"dev0\", 300)"};

Calls Join(const std::vector<Calls>& parts) {
  Calls joined;
  for (const Calls& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// The whole update with settings of FullRecord, commit included.
Calls WithSettingsCalls(bool isT7) {
  const Calls enableSeries =
      isT7 ? Calls{"QZ_EnableUpdateManuProdCtl(\"dev0\", 1)",
                   "QZ_EnableUpdateInquiryCtl(\"dev0\", 1)"}
           : Calls{"QZ_EnableUpdateDisplayHDDStrSetting(\"dev0\", 1)",
                   "QZ_EnableUpdateManuStr(\"dev0\", 1)", "QZ_EnableUpdateProdStr(\"dev0\", 1)"};
  const Calls controlsSeries =
      isT7 ? Calls{"QZ_SetManuProdCtl(\"dev0\", 1)", "QZ_SetInquiryCtl(\"dev0\", 1)",
                   "QZ_SetUsbManuString(\"dev0\", \"Maker Co\")",
                   "QZ_SetUsbProdString(\"dev0\", \"Disk Box\")"}
           : Calls{"QZ_EnableMapToHDDStr(\"dev0\", 1)", "QZ_SetSNFromNVRAMTable(\"dev0\", 1)",
                   "QZ_SetManuStr(\"dev0\", \"Maker Co\")",
                   "QZ_SetProdString(\"dev0\", \"Disk Box\")"};
  return Join({{kMatch, kSetPath, kInit, kSeries},
               kEnableBoth,
               enableSeries,
               kValuesBoth,
               controlsSeries,
               {"QZ_FWUpdateProgrammingEX(\"dev0\")"}});
}

class FirmwareUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

TEST_F(FirmwareUpdateTest, WithSettingsStagesEverySettingInSeriesOrder) {
  for (const bool isT7 : {true, false}) {
    InstallFakeLibrary();
    Fake().isT7 = isT7;
    const CustomizedSetting setting = FullRecord();
    ConsoleCapture capture;
    EXPECT_EQ(OpUpdateWithCustomizedSetting(&setting, "fw.bin"), 1);
    EXPECT_EQ(capture.Output(), "");
    EXPECT_EQ(Fake().CallTexts(), WithSettingsCalls(isT7)) << "isT7 " << isT7;
    // 16 staging calls for the QZT7 series, 17 for the others.
    EXPECT_EQ(Fake().calls.size(), isT7 ? 21u : 22u);
    // The library is handed the record's own fields.
    for (const FakeCall& call : Fake().calls) {
      if (call.name == "QZ_SetVIDValue") {
        EXPECT_EQ(call.pointers[1], setting.vidText);
      }
      if (call.name == "QZ_SetScsiPidString") {
        EXPECT_EQ(call.pointers[1], setting.hddString2);
      }
    }
  }
}

TEST_F(FirmwareUpdateTest, WithSettingsStopsSilentlyAtEveryFailingCall) {
  for (const bool isT7 : {true, false}) {
    const Calls full = WithSettingsCalls(isT7);
    for (size_t position = 0; position < full.size(); ++position) {
      // A failing series query answers "other series"; that path is covered above.
      if (full[position] == kSeries) continue;
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      Fake().failAt = static_cast<int>(position);
      const CustomizedSetting setting = FullRecord();
      ConsoleCapture capture;
      EXPECT_EQ(OpUpdateWithCustomizedSetting(&setting, "fw.bin"), 0) << full[position];
      // The series is asked right after the table preparation, whatever it returned.
      const size_t made = full[position] == kInit ? position + 2 : position + 1;
      EXPECT_EQ(Fake().CallTexts(), Calls(full.begin(), full.begin() + made)) << full[position];
      const std::string expected = position == 0 ? kBinMismatch : position == 1 ? kPathRefused : "";
      EXPECT_EQ(capture.Output(), expected) << full[position];
    }
  }
}

TEST_F(FirmwareUpdateTest, WithSettingsRefusesAnIncompleteRecordAfterTheImage) {
  struct RecordCase {
    const char* name;
    std::function<void(CustomizedSetting&)> change;
    bool accepted;
  };
  const RecordCase cases[] = {
      {"vidText", [](CustomizedSetting& s) { s.vidText[0] = '\0'; }, false},
      {"pidText", [](CustomizedSetting& s) { s.pidText[0] = '\0'; }, false},
      {"manufacturer", [](CustomizedSetting& s) { s.manufacturer[0] = '\0'; }, false},
      {"product", [](CustomizedSetting& s) { s.product[0] = '\0'; }, false},
      {"serialNumber", [](CustomizedSetting& s) { s.serialNumber[0] = '\0'; }, false},
      {"hddString1", [](CustomizedSetting& s) { s.hddString1[0] = '\0'; }, false},
      {"hddString2", [](CustomizedSetting& s) { s.hddString2[0] = '\0'; }, false},
      {"standbyTimer -1", [](CustomizedSetting& s) { s.standbyTimer = -1; }, false},
      {"standbyTimer min", [](CustomizedSetting& s) { s.standbyTimer = INT32_MIN; }, false},
      {"standbyTimer 0", [](CustomizedSetting& s) { s.standbyTimer = 0; }, true},
      {"read-back fields unused",
       [](CustomizedSetting& s) {
         s.vid = 0;
         s.pid = 0;
         s.hddString[0] = '\0';
       },
       true},
  };
  for (const RecordCase& c : cases) {
    InstallFakeLibrary();
    CustomizedSetting setting = FullRecord();
    c.change(setting);
    ConsoleCapture capture;
    EXPECT_EQ(OpUpdateWithCustomizedSetting(&setting, "fw.bin"), c.accepted ? 1 : 0) << c.name;
    EXPECT_EQ(capture.Output(), c.accepted ? "" : kParameterError) << c.name;
    if (!c.accepted) {
      EXPECT_EQ(Fake().CallTexts(), (Calls{kMatch, kSetPath})) << c.name;
    }
  }
  // The image is tested before the record.
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
struct PlainUpdate {
  const char* name;
  int32_t (*run)(const char*);
  Calls calls;
};

const PlainUpdate kPlainUpdates[] = {
    {"OpUpdateFromBin",
     OpUpdateFromBin,
     {kMatch, kSetPath, kInit, "QZ_FWUpdateProgramming(\"dev0\")"}},
    {"OpUpdateNoCustomizedSetting",
     OpUpdateNoCustomizedSetting,
     {kMode, kMatch, kSetPath, kInit, "QZ_FWUpdateProgrammingNoCustomizedSetting(\"dev0\")"}},
};

TEST_F(FirmwareUpdateTest, PlainUpdatesPrepareTheImageAndReportOnlyAFailedInit) {
  for (const PlainUpdate& update : kPlainUpdates) {
    for (const bool isT7 : {true, false}) {
      for (size_t position = 0; position <= update.calls.size(); ++position) {
        InstallFakeLibrary();
        Fake().isT7 = isT7;
        Fake().failAt = static_cast<int>(position);  // past the end: nothing fails
        const std::string failing = position < update.calls.size() ? update.calls[position] : "";
        if (failing == kMode) continue;  // the running-code guard has its own test
        ConsoleCapture capture;
        const int32_t result = update.run("fw.bin");
        const bool programmed = position >= update.calls.size() - 2;
        const bool lastFailed = position == update.calls.size() - 1;
        EXPECT_EQ(result, programmed && !lastFailed ? 1 : 0) << update.name << " " << failing;
        const size_t made = programmed ? update.calls.size() : position + 1;
        EXPECT_EQ(Fake().CallTexts(), Calls(update.calls.begin(), update.calls.begin() + made))
            << update.name << " " << failing;
        const std::string expected = failing == kMatch     ? kBinMismatch
                                     : failing == kSetPath ? kPathRefused
                                     : failing == kInit    ? kInitFailed
                                                           : "";
        EXPECT_EQ(capture.Output(), expected) << update.name << " " << failing;
      }
    }
  }
}

TEST_F(FirmwareUpdateTest, NoSettingsUpdateRunsOnlyOnRegularFirmware) {
  struct ModeCase {
    int32_t mode;
    int32_t modeResult;
    const char* output;
    bool programmed;
  };
  const ModeCase cases[] = {
      {0, 1, "Current FW version is unknown \n", false},
      {1, 1, "Internal code is not supported in current function\n", false},
      {3, 1, "Internal code is not supported in current function\n", false},
      {-1, 1, "Internal code is not supported in current function\n", false},
      {2, 1, "", true},
      // Only the mode written counts, not the call's result.
      {2, 0, "", true},
  };
  for (const ModeCase& c : cases) {
    InstallFakeLibrary();
    Fake().runningMode = c.mode;
    Fake().results["QZ_GetRunningCodeMode"] = c.modeResult;
    ConsoleCapture capture;
    EXPECT_EQ(OpUpdateNoCustomizedSetting("fw.bin"), c.programmed ? 1 : 0) << c.mode;
    EXPECT_EQ(capture.Output(), c.output) << c.mode;
    EXPECT_EQ(Fake().calls.size(), c.programmed ? 5u : 1u) << c.mode;
  }
  // A mode the library never wrote is undetermined.
  InstallFakeLibrary();
  Fake().failNames = {"QZ_GetRunningCodeMode"};
  ConsoleCapture capture;
  EXPECT_EQ(OpUpdateNoCustomizedSetting("fw.bin"), 0);
  EXPECT_EQ(capture.Output(), "Current FW version is unknown \n");
}

TEST_F(FirmwareUpdateTest, ProgrammingResultsArePassedOnUnchanged) {
  const CustomizedSetting setting = FullRecord();
  struct ResultCase {
    const char* programming;
    std::function<int32_t()> run;
  };
  const ResultCase cases[] = {
      {"QZ_FWUpdateProgramming", [] { return OpUpdateFromBin("fw.bin"); }},
      {"QZ_FWUpdateProgrammingNoCustomizedSetting",
       [] { return OpUpdateNoCustomizedSetting("fw.bin"); }},
      {"QZ_FWUpdateProgrammingEX",
       [&setting] { return OpUpdateWithCustomizedSetting(&setting, "fw.bin"); }},
  };
  for (const ResultCase& c : cases) {
    for (const int32_t value : {7, -5, 0, INT32_MIN}) {
      InstallFakeLibrary();
      Fake().results[c.programming] = value;
      ConsoleCapture capture;
      EXPECT_EQ(c.run(), value) << c.programming;
      EXPECT_EQ(capture.Output(), "") << c.programming;
    }
  }
}

TEST_F(FirmwareUpdateTest, NoDeviceIsRefusedBeforeAnyCall) {
  const CustomizedSetting setting = FullRecord();
  const std::function<int32_t()> runs[] = {
      [] { return OpUpdateFromBin("fw.bin"); },
      [] { return OpUpdateNoCustomizedSetting("fw.bin"); },
      [&setting] { return OpUpdateWithCustomizedSetting(&setting, "fw.bin"); },
  };
  for (const auto& run : runs) {
    for (const int32_t count : {0, -1}) {
      InstallFakeLibrary();
      SetFakeDeviceCount(count);
      ConsoleCapture capture;
      EXPECT_EQ(run(), 0);
      EXPECT_EQ(capture.Output(), kParameterError);
      EXPECT_TRUE(Fake().calls.empty());
    }
  }
}

}  // namespace
