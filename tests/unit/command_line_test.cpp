// The command line: option recognition, the help page's frame, -fv, the
// readers' lines and the writers' values with the -st number rule.
#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"
#include "ui/help_page.h"

namespace {

using Calls = std::vector<std::string>;
const std::string kRefused = "Input parameter error! \n";
const std::string kAskValue = "Please input parameter.\n";

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }

  // Runs the command line with these elements after the program name.
  static int32_t Run(std::vector<const char*> args) {
    args.insert(args.begin(), "bridgefw");
    args.push_back(nullptr);
    return RunCommandLine(args.data());
  }
};

TEST_F(CommandLineTest, OnlyKnownSpellingsAreRecognised) {
  const struct {
    const char* option;
    bool recognised;
  } cases[] = {
      {"-h", true},   {"-H", true},    {"-help", true},   {"-Hfv", true},  {"-fv", true},
      {"-FV", true},  {"-fVx", true},  {"-gvd", true},    {"-GeD", true},  {"-gPdx", true},
      {"-sv", true},  {"-SN", true},   {"-ub", true},     {"-ue", true},   {"-gv", false},
      {"-g", false},  {"-gvx", false}, {"-gxd", false},   {"-g d", false}, {"-f", false},
      {"-fw", false}, {"-u", false},   {"-ux", false},    {"-s", false},   {"-sx", false},
      {"-sd", false}, {"-x", false},   {"-", false},      {"fv", false},   {"", false},
      {"--h", false}, {" -h", false},  {"-\xC8v", false}, {"h", false},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture;
    const int32_t result = Run({c.option, "1234", "5678"});
    const bool acted = result != 0 || !capture.Output().empty() || !Fake().calls.empty();
    EXPECT_EQ(acted, c.recognised) << c.option;
  }
  const char* const onlyName[] = {"bridgefw", nullptr};
  const char* const empty[] = {nullptr};
  ConsoleCapture capture;
  EXPECT_EQ(RunCommandLine(onlyName) + RunCommandLine(empty) + RunCommandLine(nullptr), 0);
  EXPECT_EQ(capture.Output(), "");
  EXPECT_TRUE(Fake().calls.empty());
}

// The frame around the help lines, with the SDK text the library wrote
// within its 20-byte buffer; the device is never touched.
TEST_F(CommandLineTest, HelpFrameShowsTheSdkTextWithinItsBuffer) {
  const struct {
    bool fails;
    std::string written;
    std::string shown;
  } cases[] = {
      {false, "FAKE 2.0", "FAKE 2.0"},
      {true, "ignored", ""},
      {false, std::string(40, 'S'), std::string(19, 'S')},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().texts["QZ_GetSDKVersion"] = c.written;
    if (c.fails) Fake().failNames = {"QZ_GetSDKVersion"};
    ConsoleCapture capture;
    EXPECT_EQ(Run({"-h"}), 1);
    std::string page = std::string(kHelpRule) + "Sample tool v1.0.0.0 \nSDK version : " + c.shown +
                       "\n" + kHelpRule;
    for (const char* line : kHelpLines) page += line;
    EXPECT_EQ(capture.Output(), page + kHelpRule) << c.written;
    EXPECT_EQ(Fake().CallTexts(), Calls{"QZ_GetSDKVersion(out)"});
  }
}

TEST_F(CommandLineTest, FvPrintsTheVersionOnlyAfterSuccess) {
  const struct {
    int32_t mode;
    const char* version;
    bool versionFails;
    int32_t result;
    const char* output;
  } cases[] = {
      {2, "01.02.03.04", false, 1, "FW version: 01.02.03.04\n"},
      {2, "00.00.00.00", false, 1, "FW version: Internal code\n"},
      {2, "00.00.00.00 ", false, 1, "FW version: 00.00.00.00 \n"},
      {1, "ignored", false, 1, "FW version: Internal code\n"},
      {2, "01.02.03.04", true, 0, ""},
      {0, "01.02.03.04", false, 0, ""},
      {3, "01.02.03.04", false, 0, ""},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().runningMode = c.mode;
    Fake().texts["QZ_GetFWVersion"] = c.version;
    if (c.versionFails) Fake().failNames = {"QZ_GetFWVersion"};
    ConsoleCapture capture;
    EXPECT_EQ(Run({"-fv", "ignored"}), c.result) << c.mode << " " << c.version;
    EXPECT_EQ(capture.Output(), c.output) << c.mode << " " << c.version;
  }
}

TEST_F(CommandLineTest, EachReaderPrintsItsLineOnlyAfterSuccess) {
  const struct {
    const char* option;
    bool isT7;
    const char* failing;  // or the read whose result is passed on
    int32_t libraryResult;
    const char* output;
  } cases[] = {
      {"-gvd", false, "QZ_GetVIDfromFlash", 9, "VID: 0x00AF\n"},
      {"-gpd", true, "QZ_GetT7PIDbySCSICmd", 1, "PID: 0xFFFF\n"},
      {"-gtd", false, "QZ_GetStandbyTimerfromFlash", 1, "Standby Timer Value : -5\n"},
      {"-gnd", false, "QZ_GetHDDStrfromFlash", 1, "HDD String: HDD STRING \n"},
      {"-ged", true, "QZ_GetT7StandbyTimerbySCSICmd", -2,
       "VID: 0x00AF\nPID: 0xFFFF\nManufacturer string : Maker\nProduct string : Bridge\n"
       "Serial number: SN-SCSI\nHDD String: HDD STRING\nStandby Timer : -5 (sec)\n"},
  };
  for (const auto& c : cases) {
    for (const bool fails : {false, true}) {
      InstallFakeLibrary();
      Fake().isT7 = c.isT7;
      Fake().vid = 0x00AF;
      Fake().pid = 0xFFFF;
      Fake().standbyTimer = -5;
      Fake().results[c.failing] = c.libraryResult;
      if (fails) Fake().failNames = {c.failing};
      ConsoleCapture capture;
      EXPECT_EQ(Run({c.option}), fails ? 0 : c.libraryResult) << c.option << " " << fails;
      EXPECT_EQ(capture.Output(), fails ? "" : c.output) << c.option << " " << fails;
    }
  }
}

// Each writer hands its value elements to its operation; calls: those that
// must be made (none at all when empty).
TEST_F(CommandLineTest, WritersHandTheirValuesOnAndTheTimerTakesOnlyADecimalNumber) {
  const struct {
    std::vector<const char*> args;
    std::string output;
    int32_t result;
    Calls calls;
    std::set<std::string> failNames = {};
  } cases[] = {
      {{"-sv", ""}, "", 1, {"QZ_SetVIDValue(\"dev0\", \"\")"}},
      {{"-sp", "123456789"}, "", 1, {"QZ_SetPIDValue(\"dev0\", \"123456789\")"}},
      {{"-ss", "SN 9", "ignored"}, "", 1, {"QZ_SetSerialNumStr(\"dev0\", \"SN 9\")"}},
      {{"-sn", "ONE", "TWO"},
       "",
       1,
       {"QZ_SetScsiVidString(\"dev0\", \"ONE\")", "QZ_SetScsiPidString(\"dev0\", \"TWO\")"}},
      {{"-ss", ""}, kRefused, 0, {}},  // the operation's own refusal is the only message
      {{"-sv"}, kAskValue, 0, {}},
      {{"-sn", "ONE"}, kAskValue, 0, {}},
      {{"-st", "300"}, "standby Timer 300\n", 1, {"QZ_SetStandbyTimer(\"dev0\", 300)"}},
      {{"-st", "+300"}, "standby Timer 300\n", 1, {"QZ_SetStandbyTimer(\"dev0\", 300)"}},
      {{"-st", "2147483647"},
       "standby Timer 2147483647\n",
       1,
       {"QZ_SetStandbyTimer(\"dev0\", 2147483647)"}},
      // A valid negative number is printed, then refused by the operation.
      {{"-st", "-5"}, "standby Timer -5\n" + kRefused, 0, {}},
      {{"-st", "5m"}, kRefused, 0, {}},
      {{"-st", ""}, kRefused, 0, {}},
      {{"-st", " 300"}, kRefused, 0, {}},
      {{"-st", "4294967596"}, kRefused, 0, {}},
      // The line comes whatever the outcome.
      {{"-st", "45"},
       "standby Timer 45\n",
       0,
       {"QZ_InitialCustomizedSettingTable()"},
       {"QZ_InitialCustomizedSettingTable"}},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().failNames = c.failNames;
    ConsoleCapture capture;
    const std::string where = std::string(c.args[0]) + (c.args.size() > 1 ? c.args[1] : "");
    EXPECT_EQ(Run(c.args), c.result) << where;
    EXPECT_EQ(capture.Output(), c.output) << where;
    const Calls made = Fake().CallTexts();
    EXPECT_EQ(made.empty(), c.calls.empty()) << where;
    for (const std::string& call : c.calls) {
      EXPECT_NE(std::find(made.begin(), made.end(), call), made.end()) << where << ": " << call;
    }
  }
}

}  // namespace
