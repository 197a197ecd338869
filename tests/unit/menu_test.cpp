// The menu over the recording fake: whole transcripts of every entry passing
// and failing, the choice rule, and answers that cannot be taken.
#include "ui/menu.h"

#include "tests/unit/front_end_test.h"

namespace {

const std::string kNotice = "Please power off-on device to make settings take effect!!\n";
const std::string kRefused = "Input parameter error! \n";
const std::string kNotNumber =
    "[Error] Only accepts number. Please re-enter the number.\nSelect function to test :\n";
const std::string kUpdatePrompts =
    "Input FW file path: \nInput VID: \nInput PID: \nInput Manufacturer String: \n"
    "Input Product String: \nInput Serial Number: \nInput HDD String1: \nInput HDD String2: \n"
    "Input Timer: \n";
const std::string kTimer = "Input Standby Timer value(unit: second): \n";
const std::string kHdd = "Input HDD String1: \nInput HDD String2: \n";
// Every call that ends a device function, failing.
const std::string kAllFail = std::string(kReadsFail) +
                             ",QZ_UpdateCustomizedSetting,QZ_FWUpdateProgramming,"
                             "QZ_FWUpdateProgrammingNoCustomizedSetting,QZ_FWUpdateProgrammingEX";

class MenuTest : public FrontEndTest {
 protected:
  std::string Run(const std::string& input, const std::string& faults = "") {
    InstallFakeLibrary(faults);
    ConsoleCapture capture(input);
    ui::RunMenu(runtime::DeviceList[0]);
    return capture.Output();
  }
  const std::string screen_ = ExpectedPage("menu_screen.txt");
};

// clang-format off
const struct { std::string input, after, calls; } kEntries[] = {
    {"2\n", "FW version: 01.02.03.04\nGet FW version PASS\n", ""},
    {"3\nfw.bin\n", "Input FW file path: \nUpdate firmware and customized settings from bin PASS\n" + kNotice,
     "SetFWBinFilePath(\"fw.bin\")|FWUpdateProgramming(\"dev0\")"},
    {"4 fw.bin\n", "Input FW file path: \nUpdate firmware without customized settings PASS\n" + kNotice,
     "SetFWBinFilePath(\"fw.bin\")|FWUpdateProgrammingNoCustomizedSetting"},
    {"5\nfw.bin\n12AB\n34CD\nMaker\nBox\nSN-9\nVEND\nPROD\n120\n",
     kUpdatePrompts + "Update firmware and customized settings PASS\n" + kNotice,
     "SetFWBinFilePath(\"fw.bin\")|SetVIDValue(\"dev0\", \"12AB\")|SetPIDValue(\"dev0\", \"34CD\")|"
     "SetSerialNumStr(\"dev0\", \"SN-9\")|SetScsiVidString(\"dev0\", \"VEND\")|SetScsiPidString(\"dev0\", \"PROD\")|"
     "SetStandbyTimer(\"dev0\", 120)|SetManuStr(\"dev0\", \"Maker\")|SetProdString(\"dev0\", \"Box\")|EX"},
    {"6\n", "VID: 0x1A2B\nPID: 0x00C4\nManufacturer string : Maker\nProduct string : Bridge\n"
     "Serial number: SN-FLASH\nHDD String: HDD STRING\nStandby Timer : 300 (sec)\n"
     "Get customized settings from device PASS\n", ""},
    {"7\n", "VID: 0x1A2B\nGet vendor id from device PASS\n", ""},
    {"8\n12AB\n", "Input VID: \nSet vendor id PASS\n" + kNotice, "SetVIDValue(\"dev0\", \"12AB\")"},
    {"9\n", "PID: 0x00C4\nGet product id from device PASS\n", ""},
    {"10\n0C4\n", "Input PID: \nSet product id PASS\n" + kNotice, "SetPIDValue(\"dev0\", \"0C4\")"},
    {"11\n", "Serial number: SN-FLASH\nGet serial number from device PASS\n", ""},
    {"12\nSN1\n", "Input SN: \nSet serial number PASS\n" + kNotice, "SetSerialNumStr(\"dev0\", \"SN1\")"},
    {"13\n", "Manufacturer string : Maker\nGet manufacturer string from device PASS\n", ""},
    {"14\nMk\n", "Input manufacture string: \nSet manufacturer string PASS\n" + kNotice,
     "SetManuStr(\"dev0\", \"Mk\")"},
    {"15\n", "Product string : Bridge\nGet product information from device PASS\n", ""},
    {"16\nBx\n", "Input product string: \nSet product information PASS\n" + kNotice,
     "SetProdString(\"dev0\", \"Bx\")"},
    {"17\n", "Standby Timer : 300 (sec)\nGet standby timer from device PASS\n", ""},
    {"18\n+0600\n", kTimer + "Set standby timer PASS\n" + kNotice, "SetStandbyTimer(\"dev0\", 600)"},
    {"19\n", "HDD String: HDD STRING\nGet HDD string from device PASS\n", ""},
    {"20\nA B\n", kHdd + "Set HDD string PASS\n" + kNotice,
     "SetScsiVidString(\"dev0\", \"A\")|SetScsiPidString(\"dev0\", \"B\")"},
};
// clang-format on

TEST_F(MenuTest, EveryEntryPassesAndFails) {
  for (const auto& entry : kEntries) {
    EXPECT_EQ(Run(entry.input + "2\n"), screen_ + entry.after) << entry.input;
    EXPECT_TRUE(CallsInclude(Fake().calls, entry.calls)) << entry.input;
    // Failing: the prompts, no value line, the FAIL line and no notice.
    std::string failed = entry.input == "2\n" ? "FW version: \n" : "";
    const std::string unknown = entry.input[0] == '4' ? "Current FW version is unknown \n" : "";
    std::istringstream lines(entry.after);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("Input ", 0) == 0) failed += line + "\n" + unknown;
      const size_t pass = line.rfind(" PASS");
      if (pass != std::string::npos) failed += line.substr(0, pass) + " FAIL\n";
    }
    EXPECT_EQ(Run(entry.input, kAllFail), screen_ + failed) << entry.input;
  }
}

TEST_F(MenuTest, ChoicesThatAreNoEntry) {
  std::string refusals;
  for (int i = 0; i < 11; ++i) refusals += kNotNumber;
  EXPECT_EQ(
      Run("007\n+7\n7a\n-1\n.\nletters\n0\n22\n99\n" + std::string(300, '7') + "\n\xB7\n 07\n"),
      screen_ + refusals + "VID: 0x1A2B\nGet vendor id from device PASS\n");
  for (const char* input : {"21\n", "21\n7\n", "", "\n \n"}) {
    EXPECT_EQ(Run(input), screen_) << input;
    EXPECT_EQ(Fake().calls, std::vector<std::string>{"QZ_GetSDKVersion(out) = 1"}) << input;
  }
  EXPECT_EQ(Run("abc\n"), screen_ + kNotNumber);
  EXPECT_EQ(ui::ParseMenuChoice(nullptr), -1);
  EXPECT_EQ(Run("1 01\n21\n"), screen_ + screen_ + screen_);
  EXPECT_EQ(Fake().calls.size(), 3u);
}

// Answers that cannot be taken fail the entry before its operation.
TEST_F(MenuTest, UnusableAnswersFailTheEntry) {
  // clang-format off
  const struct { std::string input, after; } cases[] = {
      {"8 12345 2\n", "Input VID: \n" + kRefused + "Set vendor id FAIL\n"},
      {"12 " + std::string(80, 'S') + "\n", "Input SN: \n" + kRefused + "Set serial number FAIL\n"},
      {"20 A " + std::string(80, 'B') + "\n", kHdd + kRefused + "Set HDD string FAIL\n"},
      {"3 " + std::string(256, 'p') + "\n",
       "Input FW file path: \n" + kRefused + "Update firmware and customized settings from bin FAIL\n"},
      {"18 abc\n", kTimer + kRefused + "Set standby timer FAIL\n"},
      {"5 fw.bin 12AB 34CD M P S H1 H2 ten\n",
       kUpdatePrompts + kRefused + "Update firmware and customized settings FAIL\n"},
      {"20 A", kHdd + "Set HDD string FAIL\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.input), screen_ + c.after) << c.input;
    EXPECT_EQ(Fake().calls.size(), 1u) << c.input;
  }
  Run("12 " + std::string(79, 'S') + "\n");
  EXPECT_TRUE(CallsInclude(Fake().calls, "SetSerialNumStr(\"dev0\", \"" + std::string(79, 'S')));
  Run("18 2147483647\n");
  EXPECT_TRUE(CallsInclude(Fake().calls, "SetStandbyTimer(\"dev0\", 2147483647)"));
  Run("18 " + std::string(79, '0') + "5\n");  // no length limit on a number
  EXPECT_TRUE(CallsInclude(Fake().calls, "SetStandbyTimer(\"dev0\", 5)"));
}

}  // namespace
