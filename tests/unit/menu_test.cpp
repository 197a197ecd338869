// The menu's own logic against the recording fake: the choice loop, the
// parse, the questions and their rejections, PASS/FAIL and the notice.
#include "ui/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/console.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

const char* const kTexts[] = {
    "Show Help",
    "Get FW version",
    "Update firmware and customized settings from bin",
    "Update firmware without customized settings",
    "Update firmware and customized settings",
    "Get customized settings from device",
    "Get vendor id from device",
    "Set vendor id",
    "Get product id from device",
    "Set product id",
    "Get serial number from device",
    "Set serial number",
    "Get manufacturer string from device",
    "Set manufacturer string",
    "Get product information from device",
    "Set product information",
    "Get standby timer from device",
    "Set standby timer",
    "Get HDD string from device",
    "Set HDD string",
    "Exit",
};

const std::string kRejected = "Input parameter error! \n";
const std::string kNotNumber =
    "[Error] Only accepts number. Please re-enter the number.\nSelect function to test :\n";
const std::string kNotice = "Please power off-on device to make settings take effect!!\n";

std::string Screen(const std::string& sdkVersion) {
  std::string screen =
      "--------------------------- \nSample tool v1.0.0.0 \nSDK version : " + sdkVersion +
      "\n--------------------------- \nSelect function to test : \n\n";
  for (int i = 0; i < 21; ++i) screen += std::to_string(i + 1) + ". " + kTexts[i] + " \n";
  return screen + "--------------------------- \n";
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// The next word still waiting on the input ("" at its end).
std::string NextWord() {
  char word[512];
  return ConsoleReadWord(word, sizeof word) == WordRead::kRead ? word : "";
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallFakeLibrary();
    BuildMenu();
  }
  void TearDown() override { UninstallFakeLibrary(); }
};

TEST(ParseMenuChoice, AcceptsOneOrTwoDecimalDigitsOnly) {
  const struct {
    const char* answer;
    int32_t value;
  } cases[] = {
      {"7", 7},    {"07", 7},  {"00", 0},  {"0", 0},     {"99", 99},    {"21", 21},
      {"007", -1}, {"+7", -1}, {"7a", -1}, {"-1", -1},   {".", -1},     {"ab", -1},
      {"", -1},    {" 7", -1}, {"7 ", -1}, {"\xB7", -1}, {"1\xB9", -1}, {"123456789", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMenuChoice(c.answer), c.value) << c.answer;
}

TEST_F(MenuTest, BuildMenuHoldsTheTwentyOneEntriesInOrder) {
  for (int round = 0; round < 2; ++round) {
    BuildMenu();
    ASSERT_EQ(MenuTable.size(), 21u);
    int32_t number = 1;
    for (const auto& [key, text] : MenuTable) {
      EXPECT_EQ(key, number);
      EXPECT_STREQ(text, kTexts[number - 1]);
      ++number;
    }
  }
}

TEST_F(MenuTest, ShowMenuAsksForTheSdkVersionEachTime) {
  ConsoleCapture capture;
  ShowMenu();
  Fake().texts["QZ_GetSDKVersion"] = "0123456789ABCDEFGHIJKLMN";  // longer than the buffer
  ShowMenu();
  EXPECT_EQ(capture.Output(), Screen("FAKE 2.0") + Screen("0123456789ABCDEFGHI"));
  EXPECT_EQ(Fake().CallTexts(),
            (std::vector<std::string>{"QZ_GetSDKVersion(out)", "QZ_GetSDKVersion(out)"}));
}

TEST_F(MenuTest, ChoicesThatRunNothing) {
  const struct {
    std::string input;
    std::string after;  // output after the first screen
  } cases[] = {
      {"21\n", ""},
      {"", ""},
      {" \n\n\t", ""},
      {"21 7\n", ""},
      {"abc 0 22 99 007 +7 7a -1 . \xB7\xB7 ", Repeat(kNotNumber, 10)},
      {"1\n01 21\n", Screen("FAKE 2.0") + Screen("FAKE 2.0")},
      {std::string(200, '7') + "\n21\n", kNotNumber},
      {std::string(79, '1') + " " + std::string(80, '2') + " 1",
       Repeat(kNotNumber, 2) + Screen("FAKE 2.0")},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture(c.input);
    RunMenu();
    EXPECT_EQ(capture.Output(), Screen("FAKE 2.0") + c.after) << c.input;
    for (const std::string& name : Fake().Names()) EXPECT_EQ(name, "QZ_GetSDKVersion");
  }
}

TEST_F(MenuTest, RunMenuFunctionRunsNothingOutsideTwoToTwenty) {
  for (int32_t number : {-1, 0, 1, 21, 22, 99, 100}) {
    ConsoleCapture capture("8\n");
    EXPECT_EQ(RunMenuFunction(number), -1) << number;
    EXPECT_EQ(capture.Output(), "") << number;
    EXPECT_EQ(NextWord(), "8") << number;
    EXPECT_TRUE(Fake().calls.empty()) << number;
  }
}

// Answers that cannot be taken fail the entry before its operation: nothing
// is called, no later question is asked, and the rest of an over-long word
// is never taken as the next answer.
TEST_F(MenuTest, UnusableAnswersFailTheEntryWithoutTheOperation) {
  const std::string path = "Input FW file path: \n";
  const std::string update =
      path +
      "Input VID: \nInput PID: \nInput Manufacturer String: \nInput Product String: \n"
      "Input Serial Number: \nInput HDD String1: \nInput HDD String2: \nInput Timer: \n";
  const std::string timer = "Input Standby Timer value(unit: second): \n";
  const std::string hdd = "Input HDD String1: \nInput HDD String2: \n";
  const struct {
    int32_t number;
    std::string input;
    std::string output;
    std::string rest;
  } cases[] = {
      {8, "12345 next", "Input VID: \n" + kRejected, "next"},
      {10, "ABCDE next", "Input PID: \n" + kRejected, "next"},
      {12, std::string(80, 'S') + " next", "Input SN: \n" + kRejected, "next"},
      {14, std::string(80, 'M') + " next", "Input manufacture string: \n" + kRejected, "next"},
      {16, std::string(300, 'P') + " next", "Input product string: \n" + kRejected, "next"},
      {20, "A " + std::string(80, 'B') + " next", hdd + kRejected, "next"},
      {3, std::string(256, 'p') + " next", path + kRejected, "next"},
      {4, std::string(256, 'p') + " next", path + kRejected, "next"},
      {18, "abc next", timer + kRejected, "next"},
      {18, "2147483648 next", timer + kRejected, "next"},
      {18, "-2147483649 next", timer + kRejected, "next"},
      {18, "12x next", timer + kRejected, "next"},
      {18, "+ next", timer + kRejected, "next"},
      {18, std::string(100, '0') + "1 next", timer + kRejected, "next"},
      {5, "fw.bin 12345 34CD next", path + "Input VID: \n" + kRejected, "34CD"},
      {5, "fw.bin 12AB 34CD M P S " + std::string(80, 'H') + " H2 9 next",
       path +
           "Input VID: \nInput PID: \nInput Manufacturer String: \nInput Product String: \n"
           "Input Serial Number: \nInput HDD String1: \n" +
           kRejected,
       "H2"},
      {5, "fw.bin 12AB 34CD M P S H1 H2 ten next", update + kRejected, "next"},
      // The end of input fails the entry quietly.
      {8, "", "Input VID: \n", ""},
      {18, "\n\n", timer, ""},
      {20, "A\n", hdd, ""},
      {5, "fw.bin 12AB", path + "Input VID: \nInput PID: \n", ""},
      {5, "fw.bin 12AB 34CD M P S H1 H2", update, ""},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture(c.input);
    EXPECT_EQ(RunMenuFunction(c.number), 0) << c.number << " " << c.input;
    EXPECT_EQ(capture.Output(), c.output) << c.number << " " << c.input;
    EXPECT_EQ(NextWord(), c.rest) << c.number << " " << c.input;
    EXPECT_TRUE(Fake().calls.empty()) << c.number << " " << c.input;
  }
}

// Answers at their limits reach the operation unchanged.
TEST_F(MenuTest, AnswersAtTheirLimitsReachTheOperation) {
  const std::string text79(79, 'T');
  const std::string path255(255, 'p');
  const struct {
    int32_t number;
    std::string input;
    std::string call;
  } cases[] = {
      {8, "ABCD", "QZ_SetVIDValue(\"dev0\", \"ABCD\")"},
      {10, "0C4", "QZ_SetPIDValue(\"dev0\", \"0C4\")"},
      {12, text79, "QZ_SetSerialNumStr(\"dev0\", \"" + text79 + "\")"},
      {14, text79, "QZ_SetManuStr(\"dev0\", \"" + text79 + "\")"},
      {16, text79, "QZ_SetProdString(\"dev0\", \"" + text79 + "\")"},
      {18, "2147483647", "QZ_SetStandbyTimer(\"dev0\", 2147483647)"},
      {18, "+0300", "QZ_SetStandbyTimer(\"dev0\", 300)"},
      {20, "\n  A\n\nB", "QZ_SetScsiPidString(\"dev0\", \"B\")"},
      {3, path255, "QZ_CheckLoadBinFileMatch(\"dev0\", \"" + path255 + "\")"},
      {4, path255, "QZ_CheckLoadBinFileMatch(\"dev0\", \"" + path255 + "\")"},
      {5, "fw.bin 12AB 34CD M P S H1 " + text79 + " 0",
       "QZ_SetScsiPidString(\"dev0\", \"" + text79 + "\")"},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture(c.input);
    EXPECT_NE(RunMenuFunction(c.number), 0) << c.number << " " << c.input;
    const std::vector<std::string> calls = Fake().CallTexts();
    EXPECT_NE(std::find(calls.begin(), calls.end(), c.call), calls.end())
        << c.number << " " << c.call;
  }
}

TEST_F(MenuTest, OutcomeReportedOnceAsPassOrFail) {
  const struct {
    std::string input;
    std::function<void()> setup;
    std::string after;  // output after the first screen
  } cases[] = {
      {"7\n", [] {}, "VID: 0x1A2B\nGet vendor id from device PASS\n"},
      {"7\n", [] { Fake().results["QZ_GetVIDfromFlash"] = 5; },
       "VID: 0x1A2B\nGet vendor id from device PASS\n"},
      {"8 12AB\n", [] {}, "Input VID: \nSet vendor id PASS\n" + kNotice},
      {"x 22 7\n", [] {},
       kNotNumber + kNotNumber + "VID: 0x1A2B\nGet vendor id from device PASS\n"},
      {"8 123456\n", [] {}, "Input VID: \n" + kRejected + "Set vendor id FAIL\n"},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    c.setup();
    ConsoleCapture capture(c.input + " 9\n");
    RunMenu();
    EXPECT_EQ(capture.Output(), Screen("FAKE 2.0") + c.after) << c.input;
    EXPECT_EQ(NextWord(), "9") << "no second choice is read after an entry ran: " << c.input;
  }
}

}  // namespace
