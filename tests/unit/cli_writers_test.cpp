#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"
#include "ui/option_families.h"

namespace {

using Calls = std::vector<std::string>;

struct WriterCase {
  char option;
  std::vector<const char*> values;  // elements 2 onwards
  std::string output;
  int32_t result;
  Calls calls;  // on a bridge of the other series
};

class CliWritersTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }

  static int32_t Run(char option, const std::vector<const char*>& values) {
    const std::string dashed = std::string("-s") + option;
    std::vector<const char*> argv = {"bridgefw", dashed.c_str()};
    argv.insert(argv.end(), values.begin(), values.end());
    argv.push_back(nullptr);
    char resultText[80] = {};
    return RunWriterOption(option, argv.data(), resultText);
  }
};

const char* const kInit = "QZ_InitialCustomizedSettingTable()";
const char* const kSeries = "QZ_IsQZT7Series(\"dev0\")";
const char* const kCommit = "QZ_UpdateCustomizedSetting(\"dev0\")";

TEST_F(CliWritersTest, EachOptionHandsItsElementsToItsOperation) {
  const WriterCase cases[] = {
      {'v',
       {"12ab"},
       "",
       1,
       {kInit, "QZ_EnableUpdateVID(\"dev0\", 1)", "QZ_SetVIDValue(\"dev0\", \"12ab\")", kCommit}},
      {'v',
       {""},
       "",
       1,
       {kInit, "QZ_EnableUpdateVID(\"dev0\", 1)", "QZ_SetVIDValue(\"dev0\", \"\")", kCommit}},
      // The front end sets the id texts no length limit.
      {'p',
       {"123456789"},
       "",
       1,
       {kInit, "QZ_EnableUpdatePID(\"dev0\", 1)", "QZ_SetPIDValue(\"dev0\", \"123456789\")",
        kCommit}},
      {'s',
       {"SN 9", "ignored"},
       "",
       1,
       {kInit, kSeries, "QZ_EnableUpdateSN(\"dev0\", 1)", "QZ_SetSNFromNVRAMTable(\"dev0\", 1)",
        "QZ_SetSerialNumStr(\"dev0\", \"SN 9\")", kCommit}},
      {'m',
       {"Maker"},
       "",
       1,
       {kInit, kSeries, "QZ_EnableUpdateManuStr(\"dev0\", 1)", "QZ_SetManuStr(\"dev0\", \"Maker\")",
        kCommit}},
      {'i',
       {"Box"},
       "",
       1,
       {kInit, kSeries, "QZ_EnableUpdateProdStr(\"dev0\", 1)",
        "QZ_SetProdString(\"dev0\", \"Box\")", kCommit}},
      {'n',
       {"ONE", "TWO"},
       "",
       1,
       {kInit, kSeries, "QZ_EnableUpdateDisplayHDDStrSetting(\"dev0\", 1)",
        "QZ_SetScsiVidString(\"dev0\", \"ONE\")", "QZ_SetScsiPidString(\"dev0\", \"TWO\")",
        "QZ_EnableMapToHDDStr(\"dev0\", 1)", kCommit}},
      {'n',
       {"", ""},
       "",
       1,
       {kInit, kSeries, "QZ_EnableUpdateDisplayHDDStrSetting(\"dev0\", 1)",
        "QZ_SetScsiVidString(\"dev0\", \"\")", "QZ_SetScsiPidString(\"dev0\", \"\")",
        "QZ_EnableMapToHDDStr(\"dev0\", 1)", kCommit}},
      // The operation's own refusal is the only message.
      {'s', {""}, "Input parameter error! \n", 0, {}},
      // Missing value elements.
      {'v', {}, "Please input parameter.\n", 0, {}},
      {'p', {}, "Please input parameter.\n", 0, {}},
      {'s', {}, "Please input parameter.\n", 0, {}},
      {'m', {}, "Please input parameter.\n", 0, {}},
      {'i', {}, "Please input parameter.\n", 0, {}},
      {'t', {}, "Please input parameter.\n", 0, {}},
      {'n', {}, "Please input parameter.\n", 0, {}},
      {'n', {"ONE"}, "Please input parameter.\n", 0, {}},
      // Not a writer letter: nothing at all.
      {'x', {"1"}, "", 0, {}},
  };
  for (const WriterCase& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture;
    const std::string where =
        std::string("-s") + c.option + " with " + std::to_string(c.values.size()) + " values";
    EXPECT_EQ(Run(c.option, c.values), c.result) << where;
    EXPECT_EQ(capture.Output(), c.output) << where;
    EXPECT_EQ(Fake().CallTexts(), c.calls) << where;
  }
}

TEST_F(CliWritersTest, StandbyTimerTextMustBeADecimalNumber) {
  const Calls wrote300 = {kSeries, kInit, "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)",
                          "QZ_SetStandbyTimer(\"dev0\", 300)", kCommit};
  const WriterCase cases[] = {
      {'t', {"300"}, "standby Timer 300\n", 1, wrote300},
      {'t', {"+300"}, "standby Timer 300\n", 1, wrote300},
      {'t',
       {"0"},
       "standby Timer 0\n",
       1,
       {kSeries, kInit, "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)",
        "QZ_SetStandbyTimer(\"dev0\", 0)", kCommit}},
      {'t',
       {"2147483647"},
       "standby Timer 2147483647\n",
       1,
       {kSeries, kInit, "QZ_EnableUpdateStandbyTimer(\"dev0\", 1)",
        "QZ_SetStandbyTimer(\"dev0\", 2147483647)", kCommit}},
      // A valid negative number is printed, then refused by the operation.
      {'t', {"-5"}, "standby Timer -5\nInput parameter error! \n", 0, {}},
      {'t', {"-2147483648"}, "standby Timer -2147483648\nInput parameter error! \n", 0, {}},
      // Anything else never reaches the device.
      {'t', {"5m"}, "Input parameter error! \n", 0, {}},
      {'t', {"x"}, "Input parameter error! \n", 0, {}},
      {'t', {""}, "Input parameter error! \n", 0, {}},
      {'t', {"-"}, "Input parameter error! \n", 0, {}},
      {'t', {" 300"}, "Input parameter error! \n", 0, {}},
      {'t', {"2147483648"}, "Input parameter error! \n", 0, {}},
      {'t', {"4294967596"}, "Input parameter error! \n", 0, {}},
  };
  for (const WriterCase& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture;
    EXPECT_EQ(Run(c.option, c.values), c.result) << '"' << c.values[0] << '"';
    EXPECT_EQ(capture.Output(), c.output) << '"' << c.values[0] << '"';
    EXPECT_EQ(Fake().CallTexts(), c.calls) << '"' << c.values[0] << '"';
  }
}

TEST_F(CliWritersTest, StandbyTimerLineComesWhateverTheOutcome) {
  for (const bool isT7 : {true, false}) {
    InstallFakeLibrary();
    Fake().isT7 = isT7;
    Fake().failNames = {"QZ_UpdateT7StandbyTimer", "QZ_InitialCustomizedSettingTable"};
    ConsoleCapture capture;
    EXPECT_EQ(Run('t', {"45"}), 0);
    EXPECT_EQ(capture.Output(), "standby Timer 45\n");
  }
}

}  // namespace
