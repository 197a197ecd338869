// The interactive menu against the simulated bridge, answers piped in: whole
// transcripts, what reaches the device, and the answers that fail an entry.
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

std::string Expected(const std::string& name) {
  const std::string here = __FILE__;
  return ReadFile(here.substr(0, here.find_last_of('/')) + "/expected/" + name);
}

class MenuTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    screen_ = Expected("menu_screen.txt");
    ASSERT_FALSE(screen_.empty());
  }
  const std::string& Screen() const { return screen_; }

  // A fresh bridge of the series, with a matching image in fw.bin.
  void Fresh(const std::string& series) {
    Sim({"reset"});
    if (series == "t7") Sim({"set", "series", "t7"});
    MakeImage({"--out", Path("fw.bin"), "--series", series, "--version", "02.00.00.00"});
    ClearTrace();
  }
  std::string SimGet(const std::string& field) {
    std::string value = Sim({"get", field});
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
    return value;
  }
  // Trace lines after the device list and the banner's SDK version queries.
  std::vector<std::string> DeviceCalls() {
    std::vector<std::string> calls;
    for (const std::string& line : Trace()) {
      if (line.rfind("QZ_GetDeviceList(", 0) == 0 || line.rfind("QZ_GetSDKVersion(", 0) == 0) {
        continue;
      }
      calls.push_back(line);
    }
    return calls;
  }
  void ExpectRun(const std::string& input, const std::string& output, const std::string& what) {
    const ToolResult result = Run({}, input);
    EXPECT_EQ(result.output, output) << what;
    EXPECT_EQ(result.errors, "") << what;
    EXPECT_EQ(result.status, 0) << what;
  }

 private:
  std::string screen_;
};

TEST_F(MenuTest, FirstScreenThenExitOrEndOfInput) {
  for (const char* series : {"other", "t7"}) {
    for (const char* input : {"21\n", "21", "", "\n \n", "21\n7\n"}) {
      Fresh(series);
      ExpectRun(input, Screen(), std::string(series) + " [" + input + "]");
      EXPECT_TRUE(DeviceCalls().empty()) << input;
      EXPECT_EQ(Trace().size(), 2u) << "the device list and one SDK version query";
    }
  }
}

TEST_F(MenuTest, ShowHelpThenAnEntryFromTheSameLine) {
  for (const char* input : {"1 2\n", "01\n2\n2\n"}) {
    ExpectRun(input, Expected("menu_help_then_version.txt"), input);
    int sdkQueries = 0;
    for (const std::string& line : Trace()) sdkQueries += line.rfind("QZ_GetSDKVersion(", 0) == 0;
    EXPECT_EQ(sdkQueries, 2) << "a fresh SDK version for every screen";
    ClearTrace();
  }
}

TEST_F(MenuTest, NonNumbersAreAskedForAgainWithoutTheMenu) {
  const std::string input =
      "007\n+7\n7a\n-1\n.\nletters\n0\n22\n99\n" + std::string(300, '7') + "\n\xB7\n  07\n";
  std::string refusals;
  for (int i = 0; i < 11; ++i) refusals += kNotNumber;
  ExpectRun(input, Screen() + refusals + "VID: 0x3A5C\nGet vendor id from device PASS\n",
            "eleven refusals, then 07");
  // The end of input while a choice is awaited ends the menu.
  ExpectRun("abc\n", Screen() + kNotNumber, "abc then end of input");
}

struct PassCase {
  std::string input;
  std::string after;  // output after the screen
  Fields fields;      // the device afterwards
};

TEST_F(MenuTest, EveryEntryPassesOnBothSeries) {
  const PassCase cases[] = {
      {"2\n", "FW version: 01.02.03.04\nGet FW version PASS\n", {}},
      {"3\nfw.bin\n",
       "Input FW file path: \nUpdate firmware and customized settings from bin PASS\n" + kNotice,
       {{"version", "02.00.00.00"}}},
      {"4 fw.bin\n",
       "Input FW file path: \nUpdate firmware without customized settings PASS\n" + kNotice,
       {{"version", "02.00.00.00"}}},
      {"5\nfw.bin\n12AB\n34CD\nMaker\nBox\nSN-9\nVEND\nPROD\n120\n",
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
      {"18\n300\n",
       "Input Standby Timer value(unit: second): \nSet standby timer PASS\n" + kNotice,
       {{"timer", "300"}}},
      {"18\n0\n",
       "Input Standby Timer value(unit: second): \nSet standby timer PASS\n" + kNotice,
       {{"timer", "0"}}},
      {"19\n", "HDD String: SIMDISK VIRTUAL HDD\nGet HDD string from device PASS\n", {}},
      {"20\nACME\nFAST\n",
       "Input HDD String1: \nInput HDD String2: \nSet HDD string PASS\n" + kNotice,
       {{"hdd-vendor", "ACME"}, {"hdd-product", "FAST"}}},
  };
  for (const char* series : {"other", "t7"}) {
    for (const PassCase& c : cases) {
      Fresh(series);
      const std::string what = std::string(series) + " [" + c.input + "]";
      ExpectRun(c.input, Screen() + c.after, what);
      for (const auto& [field, value] : c.fields) EXPECT_EQ(SimGet(field), value) << what;
    }
  }
}

struct FailCase {
  std::string input;
  std::string faultOther;
  std::string faultT7;
  std::string after;
};

TEST_F(MenuTest, EveryEntryFailsWhenItsDeviceCallFails) {
  const std::string commit = "QZ_UpdateCustomizedSetting";
  const FailCase cases[] = {
      {"2\n", "QZ_GetRunningCodeMode", "QZ_GetRunningCodeMode",
       "FW version: \nGet FW version FAIL\n"},
      {"3\nfw.bin\n", "QZ_FWUpdateProgramming", "QZ_FWUpdateProgramming",
       "Input FW file path: \nUpdate firmware and customized settings from bin FAIL\n"},
      {"4\nfw.bin\n", "QZ_FWUpdateProgrammingNoCustomizedSetting",
       "QZ_FWUpdateProgrammingNoCustomizedSetting",
       "Input FW file path: \nUpdate firmware without customized settings FAIL\n"},
      {"5\nfw.bin\n12AB\n34CD\nMaker\nBox\nSN-9\nVEND\nPROD\n120\n", "QZ_FWUpdateProgrammingEX",
       "QZ_FWUpdateProgrammingEX",
       kUpdatePrompts + "Update firmware and customized settings FAIL\n"},
      {"6\n", "QZ_GetStandbyTimerfromFlash", "QZ_GetT7StandbyTimerbySCSICmd",
       "Get customized settings from device FAIL\n"},
      {"7\n", "QZ_GetVIDfromFlash", "QZ_GetT7VIDbySCSICmd", "Get vendor id from device FAIL\n"},
      {"8\n12AB\n", commit, commit, "Input VID: \nSet vendor id FAIL\n"},
      {"9\n", "QZ_GetPIDfromFlash", "QZ_GetT7PIDbySCSICmd", "Get product id from device FAIL\n"},
      {"10\n0C4\n", commit, commit, "Input PID: \nSet product id FAIL\n"},
      {"11\n", "QZ_GetSNfromFlash", "QZ_GetT7SNbySCSICmd", "Get serial number from device FAIL\n"},
      {"12\nSN-42\n", commit, commit, "Input SN: \nSet serial number FAIL\n"},
      {"13\n", "QZ_GetManuStrfromFlash", "QZ_GetManuStrfromFlash",
       "Get manufacturer string from device FAIL\n"},
      {"14\nMaker\n", commit, commit, "Input manufacture string: \nSet manufacturer string FAIL\n"},
      {"15\n", "QZ_GetProdStrfromFlash", "QZ_GetProdStrfromFlash",
       "Get product information from device FAIL\n"},
      {"16\nBox\n", commit, commit, "Input product string: \nSet product information FAIL\n"},
      {"17\n", "QZ_GetStandbyTimerfromFlash", "QZ_GetT7StandbyTimerbySCSICmd",
       "Get standby timer from device FAIL\n"},
      {"18\n300\n", commit, "QZ_UpdateT7StandbyTimer",
       "Input Standby Timer value(unit: second): \nSet standby timer FAIL\n"},
      {"19\n", "QZ_GetHDDStrfromFlash", "QZ_GetHDDStrfromFlash",
       "Get HDD string from device FAIL\n"},
      {"20\nACME\nFAST\n", commit, commit,
       "Input HDD String1: \nInput HDD String2: \nSet HDD string FAIL\n"},
  };
  for (const char* series : {"other", "t7"}) {
    for (const FailCase& c : cases) {
      Fresh(series);
      SetFault(std::string(series) == "t7" ? c.faultT7 : c.faultOther);
      ExpectRun(c.input, Screen() + c.after, std::string(series) + " [" + c.input + "]");
    }
  }
}

TEST_F(MenuTest, FirmwareVersionLine) {
  const struct {
    std::string field;
    std::string value;
    std::string after;
  } cases[] = {
      {"mode", "1", "FW version: Internal code\nGet FW version PASS\n"},
      {"version", "00.00.00.00", "FW version: Internal code\nGet FW version PASS\n"},
      {"version", "9.8", "FW version: 9.8\nGet FW version PASS\n"},
      {"mode", "0", "FW version: \nGet FW version FAIL\n"},
  };
  for (const auto& c : cases) {
    Fresh("other");
    Sim({"set", c.field, c.value});
    ExpectRun("2\n", Screen() + c.after, c.field + " " + c.value);
  }
}

// A blank ends a word: every later answer of entry 5 moves up one question.
TEST_F(MenuTest, UpdateAnswersShiftWhenAnAnswerHoldsABlank) {
  for (const char* series : {"other", "t7"}) {
    Fresh(series);
    ExpectRun("5\nfw.bin\n12AB\n34CD\nNew Maker\nBridge\nSN1\nDISK\n300\n",
              Expected("menu_update_shifted.txt"), series);
    const Fields device = {{"manufacturer", "New"}, {"product", "Maker"},    {"serial", "Bridge"},
                           {"hdd-vendor", "SN1"},   {"hdd-product", "DISK"}, {"timer", "300"}};
    for (const auto& [field, value] : device) EXPECT_EQ(SimGet(field), value) << series;
  }
  // Shifted onto the timer, a word is no number: nothing reaches the device.
  Fresh("other");
  ExpectRun(
      "5\nfw.bin\n12AB\n34CD\nNew Maker\nBridge\nSN1\nH1\nH2\n300\n",
      Screen() + kUpdatePrompts + kRejected + "Update firmware and customized settings FAIL\n",
      "timer answered with a word");
  EXPECT_TRUE(DeviceCalls().empty());
  EXPECT_EQ(SimGet("version"), "01.02.03.04");
}

// Answers that cannot be taken, and the end of input, fail the entry before
// its operation: no device call at all.
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
      {"5\nfw.bin\n12345\n34CD\nMaker\nBox\nSN-9\nVEND\nPROD\n120\n",
       "Input FW file path: \nInput VID: \n" + kRejected +
           "Update firmware and customized settings FAIL\n"},
      {"18\nabc\n",
       "Input Standby Timer value(unit: second): \n" + kRejected + "Set standby timer FAIL\n"},
      {"18\n2147483648\n",
       "Input Standby Timer value(unit: second): \n" + kRejected + "Set standby timer FAIL\n"},
      // The operation's own input test: a negative timer.
      {"18\n-1\n",
       "Input Standby Timer value(unit: second): \n" + kRejected + "Set standby timer FAIL\n"},
  };
  for (const auto& c : cases) {
    Fresh("other");
    ExpectRun(c.input, Screen() + c.after, c.input.substr(0, 40));
    EXPECT_TRUE(DeviceCalls().empty()) << c.input.substr(0, 40);
  }
}

TEST_F(MenuTest, UpdateMessagesComeBeforeTheFailLine) {
  Fresh("other");
  MakeImage({"--out", Path("t7.bin"), "--series", "t7", "--version", "02.00.00.00"});
  ExpectRun("5\nt7.bin\n12AB\n34CD\nMaker\nBox\nSN-9\nVEND\nPROD\n120\n",
            Screen() + kUpdatePrompts + "Bin file not match \n" +
                "Update firmware and customized settings FAIL\n",
            "image of the other series");
  Sim({"set", "mode", "1"});
  ExpectRun("4\nfw.bin\n",
            Screen() + "Input FW file path: \n" +
                "Internal code is not supported in current function\n" +
                "Update firmware without customized settings FAIL\n",
            "internal code");
  EXPECT_EQ(SimGet("version"), "01.02.03.04");
}

}  // namespace
