// The menu's own logic: the choice loop and its parse, the questions and
// their rejections, PASS/FAIL and the notice. The screen's bytes are pinned
// end to end; here it is taken from ShowMenu.
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

const std::string kRejected = "Input parameter error! \n";
const std::string kNotNumber =
    "[Error] Only accepts number. Please re-enter the number.\nSelect function to test :\n";

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
    ConsoleCapture capture;
    ShowMenu();
    screen_ = capture.Output();
    InstallFakeLibrary();
  }
  void TearDown() override { UninstallFakeLibrary(); }
  std::string screen_;
};

TEST(ParseMenuChoice, AcceptsOneOrTwoDecimalDigitsOnly) {
  const struct {
    const char* answer;
    int32_t value;
  } cases[] = {
      {"7", 7},   {"07", 7},  {"00", 0},    {"99", 99},    {"21", 21},        {"007", -1},
      {"+7", -1}, {"7a", -1}, {"-1", -1},   {"", -1},      {" 7", -1},        {"7 ", -1},
      {".", -1},  {"ab", -1}, {"\xB7", -1}, {"1\xB9", -1}, {"123456789", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMenuChoice(c.answer), c.value) << c.answer;
}

TEST_F(MenuTest, ShowMenuAsksForTheSdkVersionEachTimeAndKeepsItWithinItsBuffer) {
  ASSERT_EQ(MenuTable.size(), 21u);
  ASSERT_NE(screen_.find("SDK version : FAKE 2.0\n"), std::string::npos);
  Fake().texts["QZ_GetSDKVersion"] = "0123456789ABCDEFGHIJKLMN";
  std::string longer = screen_;
  longer.replace(longer.find("FAKE 2.0"), 8, "0123456789ABCDEFGHI");
  ConsoleCapture capture;
  ShowMenu();
  ShowMenu();
  EXPECT_EQ(capture.Output(), longer + longer);
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
      {"1\n01 21\n", screen_ + screen_},
      {std::string(200, '7') + "\n21\n", kNotNumber},
      {std::string(79, '1') + " " + std::string(80, '2') + " 1", Repeat(kNotNumber, 2) + screen_},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture(c.input);
    RunMenu();
    EXPECT_EQ(capture.Output(), screen_ + c.after) << c.input;
    for (const std::string& name : Fake().Names()) EXPECT_EQ(name, "QZ_GetSDKVersion");
  }
  for (int32_t number : {-1, 0, 1, 21, 22, 99}) {
    InstallFakeLibrary();
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
  const std::string six =
      path +
      "Input VID: \nInput PID: \nInput Manufacturer String: \nInput Product String: \n"
      "Input Serial Number: \nInput HDD String1: \n";
  const std::string update = six + "Input HDD String2: \nInput Timer: \n";
  const std::string timer = "Input Standby Timer value(unit: second): \n";
  const std::string hdd = "Input HDD String1: \nInput HDD String2: \n";
  const struct {
    int32_t number;
    std::string input;
    std::string output;
    std::string rest;
  } cases[] = {
      {8, "12345 next", "Input VID: \n" + kRejected, "next"},
      {12, std::string(80, 'S') + " next", "Input SN: \n" + kRejected, "next"},
      {16, std::string(300, 'P') + " next", "Input product string: \n" + kRejected, "next"},
      {20, "A " + std::string(80, 'B') + " next", hdd + kRejected, "next"},
      {3, std::string(256, 'p') + " next", path + kRejected, "next"},
      {18, "abc next", timer + kRejected, "next"},
      {18, "2147483648 next", timer + kRejected, "next"},
      {5, "fw.bin 12345 34CD next", path + "Input VID: \n" + kRejected, "34CD"},
      {5, "fw.bin 12AB 34CD M P S " + std::string(80, 'H') + " H2 9 next", six + kRejected, "H2"},
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

TEST_F(MenuTest, AnswersAtTheirLimitsReachTheOperation) {
  const std::string text79(79, 'T');
  const std::string path255(255, 'p');
  const struct {
    int32_t number;
    std::string input;
    std::string call;
  } cases[] = {
      {8, "ABCD", "QZ_SetVIDValue(\"dev0\", \"ABCD\")"},
      {12, text79, "QZ_SetSerialNumStr(\"dev0\", \"" + text79 + "\")"},
      {16, text79, "QZ_SetProdString(\"dev0\", \"" + text79 + "\")"},
      {18, "2147483647", "QZ_SetStandbyTimer(\"dev0\", 2147483647)"},
      {18, "+0300", "QZ_SetStandbyTimer(\"dev0\", 300)"},
      {18, std::string(79, '0') + "5", "QZ_SetStandbyTimer(\"dev0\", 5)"},
      {20, "\n  A\n\nB", "QZ_SetScsiPidString(\"dev0\", \"B\")"},
      {3, path255, "QZ_CheckLoadBinFileMatch(\"dev0\", \"" + path255 + "\")"},
      {5, "fw.bin 12AB 34CD M P S H1 " + text79 + " 0",
       "QZ_SetScsiPidString(\"dev0\", \"" + text79 + "\")"},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    ConsoleCapture capture(c.input);
    EXPECT_NE(RunMenuFunction(c.number), 0) << c.number << " " << c.input;
    const std::vector<std::string> calls = Fake().CallTexts();
    EXPECT_NE(std::find(calls.begin(), calls.end(), c.call), calls.end()) << c.call;
  }
}

TEST_F(MenuTest, OutcomeReportedOnceAsPassOrFail) {
  const std::string vid = "VID: 0x1A2B\nGet vendor id from device PASS\n";
  const struct {
    std::string input;
    std::function<void()> setup;
    std::string after;  // output after the first screen
  } cases[] = {
      {"7\n", [] {}, vid},
      {"8 12AB\n", [] {},
       "Input VID: \nSet vendor id PASS\n"
       "Please power off-on device to make settings take effect!!\n"},
      {"x 22 7\n", [] {}, kNotNumber + kNotNumber + vid},
      {"8 123456\n", [] {}, "Input VID: \n" + kRejected + "Set vendor id FAIL\n"},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    c.setup();
    ConsoleCapture capture(c.input + " 9\n");
    RunMenu();
    EXPECT_EQ(capture.Output(), screen_ + c.after) << c.input;
    EXPECT_EQ(NextWord(), "9") << "no second choice is read after an entry ran: " << c.input;
  }
}

}  // namespace
