// The interactive menu, answers piped in: whole transcripts, what reaches the
// device, and the answers that fail an entry.
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

const std::string kNotice = "Please power off-on device to make settings take effect!!\n";
const std::string kRejected = "Input parameter error! \n";
const std::string kNotNumber =
    "[Error] Only accepts number. Please re-enter the number.\nSelect function to test :\n";
const std::string kUpdatePrompts =
    "Input FW file path: \nInput VID: \nInput PID: \nInput Manufacturer String: \n"
    "Input Product String: \nInput Serial Number: \nInput HDD String1: \nInput HDD String2: \n"
    "Input Timer: \n";
const std::string kUpdateAnswers = "5\nfw.bin\n12AB\n34CD\nMaker\nBox\nSN-9\nVEND\nPROD\n120\n";
const std::string kTimerPrompt = "Input Standby Timer value(unit: second): \n";

class MenuTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    screen_ = Expected("menu_screen.txt");
    ASSERT_FALSE(screen_.empty());
  }
  // A fresh bridge of the series, with a matching image in fw.bin.
  void FreshWithImage(const std::string& series) {
    Fresh(series);
    MakeImage({"--out", Path("fw.bin"), "--series", series, "--version", "02.00.00.00"});
  }
  void ExpectRun(const std::string& input, const std::string& output, const std::string& what) {
    EXPECT_EQ(Run({}, input).output, output) << what;
  }
  std::string screen_;
};

TEST_F(MenuTest, FirstScreenThenExitOrEndOfInput) {
  for (const char* input : {"21\n", "21", "", "\n \n", "21\n7\n"}) {
    ClearTrace();
    ExpectRun(input, screen_, std::string("[") + input + "]");
    EXPECT_TRUE(DeviceCalls().empty()) << input;
  }
}

TEST_F(MenuTest, ShowHelpThenAnEntryFromTheSameLine) {
  ExpectRun("1 2\n", Expected("menu_help_then_version.txt"), "1 2");
  int sdkQueries = 0;
  for (const std::string& line : Trace()) sdkQueries += line.rfind("QZ_GetSDKVersion(", 0) == 0;
  EXPECT_EQ(sdkQueries, 2) << "a fresh SDK version for every screen";
}

TEST_F(MenuTest, NonNumbersAndUnlistedNumbersAreAskedForAgain) {
  const std::string input =
      "007\n+7\n7a\n-1\n.\nletters\n0\n22\n99\n" + std::string(300, '7') + "\n\xB7\n  07\n";
  std::string refusals;
  for (int i = 0; i < 11; ++i) refusals += kNotNumber;
  ExpectRun(input, screen_ + refusals + "VID: 0x3A5C\nGet vendor id from device PASS\n",
            "eleven refusals, then 07");
  ExpectRun("abc\n", screen_ + kNotNumber, "abc then end of input");
}

TEST_F(MenuTest, EveryEntryPassesOnBothSeries) {
  const struct {
    std::string input;
    std::string after;  // output after the screen
    Fields fields;      // the device afterwards
  } cases[] = {
      {"2\n", "FW version: 01.02.03.04\nGet FW version PASS\n", {}},
      {"3\nfw.bin\n",
       "Input FW file path: \nUpdate firmware and customized settings from bin PASS\n" + kNotice,
       {{"version", "02.00.00.00"}}},
      {"4 fw.bin\n",
       "Input FW file path: \nUpdate firmware without customized settings PASS\n" + kNotice,
       {{"version", "02.00.00.00"}}},
      {kUpdateAnswers,
       kUpdatePrompts + "Update firmware and customized settings PASS\n" + kNotice,
       {{"version", "02.00.00.00"},
        {"vid", "12AB"},
        {"pid", "34CD"},
        {"manufacturer", "Maker"},
        {"product", "Box"},
        {"serial", "SN-9"},
        {"hdd-vendor", "VEND"},
        {"hdd-product", "PROD"},
        {"timer", "120"}}},
      {"6\n",
       "VID: 0x3A5C\nPID: 0x0101\nManufacturer string : QZ Sim\nProduct string : Sim Bridge\n"
       "Serial number: SIM0000000001\nHDD String: SIMDISK VIRTUAL HDD\n"
       "Standby Timer : 600 (sec)\nGet customized settings from device PASS\n",
       {}},
      {"7\n", "VID: 0x3A5C\nGet vendor id from device PASS\n", {}},
      {"8\n12AB\n", "Input VID: \nSet vendor id PASS\n" + kNotice, {{"vid", "12AB"}}},
      {"9\n", "PID: 0x0101\nGet product id from device PASS\n", {}},
      {"10 0C4\n", "Input PID: \nSet product id PASS\n" + kNotice, {{"pid", "00C4"}}},
      {"11\n", "Serial number: SIM0000000001\nGet serial number from device PASS\n", {}},
      {"12\nSN-42\n", "Input SN: \nSet serial number PASS\n" + kNotice, {{"serial", "SN-42"}}},
      {"13\n", "Manufacturer string : QZ Sim\nGet manufacturer string from device PASS\n", {}},
      {"14\nMaker\n",
       "Input manufacture string: \nSet manufacturer string PASS\n" + kNotice,
       {{"manufacturer", "Maker"}}},
      {"15\n", "Product string : Sim Bridge\nGet product information from device PASS\n", {}},
      {"16\nBox\n",
       "Input product string: \nSet product information PASS\n" + kNotice,
       {{"product", "Box"}}},
      {"17\n", "Standby Timer : 600 (sec)\nGet standby timer from device PASS\n", {}},
      {"18\n300\n", kTimerPrompt + "Set standby timer PASS\n" + kNotice, {{"timer", "300"}}},
      {"18\n0\n", kTimerPrompt + "Set standby timer PASS\n" + kNotice, {{"timer", "0"}}},
      {"19\n", "HDD String: SIMDISK VIRTUAL HDD\nGet HDD string from device PASS\n", {}},
      {"20\nACME\nFAST\n",
       "Input HDD String1: \nInput HDD String2: \nSet HDD string PASS\n" + kNotice,
       {{"hdd-vendor", "ACME"}, {"hdd-product", "FAST"}}},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const auto& c : cases) {
      FreshWithImage(series);
      const std::string what = series + " [" + c.input + "]";
      ExpectRun(c.input, screen_ + c.after, what);
      for (const auto& [field, value] : c.fields) EXPECT_EQ(SimGet(field), value) << what;
    }
  }
}

// A failing device call fails the entry, with no power-off notice; the
// update's own message comes before the FAIL line.
TEST_F(MenuTest, AFailingDeviceCallFailsTheEntry) {
  const struct {
    std::string input;
    std::string faultOther;
    std::string faultT7;
    std::string after;
  } cases[] = {
      {"2\n", "QZ_GetRunningCodeMode", "QZ_GetRunningCodeMode",
       "FW version: \nGet FW version FAIL\n"},
      {"4\nfw.bin\n", "QZ_FWUpdateProgrammingNoCustomizedSetting",
       "QZ_FWUpdateProgrammingNoCustomizedSetting",
       "Input FW file path: \nUpdate firmware without customized settings FAIL\n"},
      {kUpdateAnswers, "QZ_FWUpdateProgrammingEX", "QZ_FWUpdateProgrammingEX",
       kUpdatePrompts + "Update firmware and customized settings FAIL\n"},
      {"7\n", "QZ_GetVIDfromFlash", "QZ_GetT7VIDbySCSICmd", "Get vendor id from device FAIL\n"},
      {"18\n300\n", "QZ_UpdateCustomizedSetting", "QZ_UpdateT7StandbyTimer",
       kTimerPrompt + "Set standby timer FAIL\n"},
      {"20\nACME\nFAST\n", "QZ_UpdateCustomizedSetting", "QZ_UpdateCustomizedSetting",
       "Input HDD String1: \nInput HDD String2: \nSet HDD string FAIL\n"},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const auto& c : cases) {
      FreshWithImage(series);
      SetFault(series == "t7" ? c.faultT7 : c.faultOther);
      ExpectRun(c.input, screen_ + c.after, series + " [" + c.input + "]");
    }
  }
  SetFault("");
  FreshWithImage("other");
  MakeImage({"--out", Path("t7.bin"), "--series", "t7", "--version", "02.00.00.00"});
  ExpectRun("5\nt7.bin" + kUpdateAnswers.substr(8),
            screen_ + kUpdatePrompts + "Bin file not match \n" +
                "Update firmware and customized settings FAIL\n",
            "image of the other series");
  Sim({"set", "mode", "1"});
  ExpectRun("4\nfw.bin\n",
            screen_ + "Input FW file path: \nInternal code is not supported in current function\n" +
                "Update firmware without customized settings FAIL\n",
            "internal code");
  ExpectRun("2\n", screen_ + "FW version: Internal code\nGet FW version PASS\n", "mode 1");
  EXPECT_EQ(SimGet("version"), "01.02.03.04");
}

// A blank ends a word: every later answer of entry 5 moves up one question.
TEST_F(MenuTest, UpdateAnswersShiftWhenAnAnswerHoldsABlank) {
  for (const char* series : {"other", "t7"}) {
    FreshWithImage(series);
    ExpectRun("5\nfw.bin\n12AB\n34CD\nNew Maker\nBridge\nSN1\nDISK\n300\n",
              Expected("menu_update_shifted.txt"), series);
    const Fields device = {{"manufacturer", "New"}, {"product", "Maker"},    {"serial", "Bridge"},
                           {"hdd-vendor", "SN1"},   {"hdd-product", "DISK"}, {"timer", "300"}};
    for (const auto& [field, value] : device) EXPECT_EQ(SimGet(field), value) << series;
  }
  // Shifted onto the timer, a word is no number: nothing reaches the device.
  FreshWithImage("other");
  ExpectRun("5\nfw.bin\n12AB\n34CD\nNew Maker\nBridge\nSN1\nH1\nH2\n300\n",
            screen_ + kUpdatePrompts + kRejected + "Update firmware and customized settings FAIL\n",
            "timer answered with a word");
  EXPECT_TRUE(DeviceCalls().empty());
}

// Answers that cannot be taken, and the end of input, fail the entry before
// any device call.
TEST_F(MenuTest, UnusableAnswersFailWithoutTouchingTheDevice) {
  const struct {
    std::string input;
    std::string after;
  } cases[] = {
      {"8\n", "Input VID: \nSet vendor id FAIL\n"},
      {"20\nACME\n", "Input HDD String1: \nInput HDD String2: \nSet HDD string FAIL\n"},
      {"5\nfw.bin 12AB\n",
       "Input FW file path: \nInput VID: \nInput PID: \n"
       "Update firmware and customized settings FAIL\n"},
      {"8\n12345\n", "Input VID: \n" + kRejected + "Set vendor id FAIL\n"},
      {"14\n" + std::string(80, 'M') + "\n",
       "Input manufacture string: \n" + kRejected + "Set manufacturer string FAIL\n"},
      {"3\n" + std::string(256, 'p') + "\n",
       "Input FW file path: \n" + kRejected +
           "Update firmware and customized settings from bin FAIL\n"},
      {"18\nabc\n", kTimerPrompt + kRejected + "Set standby timer FAIL\n"},
      {"18\n2147483648\n", kTimerPrompt + kRejected + "Set standby timer FAIL\n"},
      {"18\n-1\n", kTimerPrompt + kRejected + "Set standby timer FAIL\n"},
  };
  for (const auto& c : cases) {
    FreshWithImage("other");
    ExpectRun(c.input, screen_ + c.after, c.input.substr(0, 40));
    EXPECT_TRUE(DeviceCalls().empty()) << c.input.substr(0, 40);
  }
}

}  // namespace
