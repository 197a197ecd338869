// The command line over the recording fake: the option table row by row,
// spellings, values, the -ue list, -st and the update options' path test.
#include "ui/command_line.h"

#include <functional>

#include "tests/unit/front_end_test.h"
#include "ui/option_table.h"

namespace {

const std::string kRefused = "Input parameter error! \n";
const std::string kAskValue = "Please input parameter.\n";
const std::string kBadList = "Invalid input parameter!\n";
const std::string kBadPath = "Invalid firmware path.\n";

class CommandLineTest : public FrontEndTest {
 protected:
  // Runs the words as elements 1 onwards ("''" is an empty element).
  std::string Run(
      const std::string& words, const std::string& faults = "",
      const std::function<void()>& setup = [] {}) {
    InstallFakeLibrary(faults);
    setup();
    std::istringstream in(words);
    std::vector<std::string> elements = {"bridgefw"};
    for (std::string word; in >> word;) elements.push_back(word == "''" ? "" : word);
    std::vector<const char*> argv;
    for (const std::string& element : elements) argv.push_back(element.c_str());
    argv.push_back(nullptr);
    ConsoleCapture capture;
    result_ = ui::RunCommandLine(runtime::DeviceList[0], argv.data());
    return capture.Output();
  }
  // The output, then the result and the number of calls.
  std::string Outcome(const std::string& words, const std::string& faults = "") {
    const std::string output = Run(words, faults);
    return output + std::to_string(result_) + "/" + std::to_string(Fake().calls.size());
  }
  int32_t result_ = -1;
};

const char* const kFullUe = "-ue -f fw.bin -v 12AB -p 0C0D -m Mk -i Bx -s S1 -n H1 H2 -t 120";

// In the table's order: its letters, a spelling with its values, what it
// prints, and calls it makes, in order.
// clang-format off
const struct { const char *letters, *words, *output, *calls; int values; } kRows[] = {
    {"h", "-Help", nullptr, "QZ_GetSDKVersion(out)", 0},
    {"fv", "-FVx", "FW version: 01.02.03.04\n", "GetFWVersion(\"dev0\", out)", 0},
    {"ub", "-UBz fw.bin more", "Update result: 1.\n", "FWUpdateProgramming(\"dev0\")", 1},
    {"un", "-un fw.bin", "", "FWUpdateProgrammingNoCustomizedSetting(\"dev0\")", 1},
    {"ue", kFullUe, "", "Match(\"dev0\", \"fw.bin\")|\"12AB\"|\"0C0D\"|\"S1\"|\"H1\"|\"H2\"|, 120)|"
     "SetManuStr(\"dev0\", \"Mk\")|SetProdString(\"dev0\", \"Bx\")|FWUpdateProgrammingEX", 0},
    {"ged", "-GED", "VID: 0x1A2B\nPID: 0x00C4\nManufacturer string : Maker\nProduct string : Bridge\n"
     "Serial number: SN-FLASH\nHDD String: HDD STRING\nStandby Timer : 300 (sec)\n", "", 0},
    {"gvd", "-gVdx", "VID: 0x1A2B\n", "", 0},
    {"sv", "-Sv 12AB", "", "SetVIDValue(\"dev0\", \"12AB\")", 1},
    {"gpd", "-gpd", "PID: 0x00C4\n", "", 0},
    {"sp", "-spx 0C4", "", "SetPIDValue(\"dev0\", \"0C4\")", 1},
    {"gsd", "-gsd", "Serial number: SN-FLASH\n", "", 0},
    {"ss", "-ss SN9", "", "SetSerialNumStr(\"dev0\", \"SN9\")", 1},
    {"gmd", "-gmd", "Manufacture string : Maker\n", "", 0},
    {"sm", "-sm Mk", "", "SetManuStr(\"dev0\", \"Mk\")", 1},
    {"gid", "-gid", "Product string : Bridge\n", "", 0},
    {"si", "-si Bx", "", "SetProdString(\"dev0\", \"Bx\")", 1},
    {"gtd", "-gtd", "Standby Timer Value : 300\n", "", 0},
    {"st", "-st 300", "standby Timer 300\n", "SetStandbyTimer(\"dev0\", 300)", 1},
    {"gnd", "-gnd", "HDD String: HDD STRING \n", "", 0},
    {"sn", "-SN a ''", "", "SetScsiVidString(\"dev0\", \"a\")|SetScsiPidString(\"dev0\", \"\")", 2},
};
// clang-format on

TEST_F(CommandLineTest, EveryOptionOfTheTable) {
  ASSERT_EQ(ui::kCommandLineOptionCount, sizeof kRows / sizeof kRows[0]);
  for (std::size_t i = 0; i < ui::kCommandLineOptionCount; ++i) {
    const ui::CommandLineOption& option = ui::kCommandLineOptions[i];
    const auto& row = kRows[i];
    ASSERT_STREQ(option.name, row.letters);
    EXPECT_EQ(std::string(option.help).rfind(std::string(" -") + row.letters, 0), 0u);
    EXPECT_EQ(Run(row.words), row.output ? row.output : ExpectedPage("help.txt")) << row.words;
    EXPECT_EQ(result_, 1) << row.words;
    EXPECT_TRUE(CallsInclude(Fake().calls, row.calls)) << row.words;
    // With a value element short, nothing reaches the device.
    if (row.values > 0) {
      std::string words = row.words;
      words.resize(words.find(' '));
      if (row.values == 2) words += " a";
      EXPECT_EQ(Outcome(words), kAskValue + "0/0");
    }
    // A failing read prints no value line.
    if (row.letters[0] == 'g' || row.letters[0] == 'f') {
      EXPECT_EQ(Outcome(row.words, kReadsFail).substr(0, 2), "0/") << row.words;
    }
  }
}

TEST_F(CommandLineTest, UnknownSpellingsPrintAndCallNothing) {
  for (const char* words :
       {"-gv", "-g", "-gvx", "-f", "-fw", "-u", "-ux", "-s", "-sx", "-x", "-", "fv", "''"}) {
    EXPECT_EQ(Outcome(words), "0/0") << words;
  }
  const char* const noElement[] = {"bridgefw", nullptr};
  EXPECT_EQ(ui::RunCommandLine(runtime::DeviceList[0], noElement), 0);
}

TEST_F(CommandLineTest, HelpPageShowsTheLibraryVersionWithinItsBuffer) {
  std::string page = ExpectedPage("help.txt");
  const size_t at = page.find("SIM 1.0.0.0");
  EXPECT_EQ(Run("-h", "QZ_GetSDKVersion"), std::string(page).replace(at, 11, ""));
  EXPECT_EQ(Run("-h", "", [] { Fake().texts["QZ_GetSDKVersion"] = std::string(40, 'S'); }),
            page.replace(at, 11, std::string(19, 'S')));
  UninstallFakeLibrary();  // help asked for without one
  ConsoleCapture capture;
  ui::PrintHelpPage();
  EXPECT_EQ(capture.Output(), ExpectedPage("help.txt").replace(at, 11, "(no library)"));
  EXPECT_EQ(Run("-fv", "", [] { Fake().texts["QZ_GetFWVersion"] = "00.00.00.00"; }),
            "FW version: Internal code\n");
  EXPECT_EQ(Run("-fv", "", [] { Fake().runningMode = 1; }), "FW version: Internal code\n");
  EXPECT_EQ(Run("-fv", "", [] { Fake().texts["QZ_GetFWVersion"] = std::string(90, 'V'); }),
            "FW version: " + std::string(79, 'V') + "\n");
}

TEST_F(CommandLineTest, ValuesAndTheirMessages) {
  const std::string longS(79, 'S');
  // clang-format off
  const struct { std::string words; const char* faults; std::string output, calls; } cases[] = {
      {"-fv", "QZ_GetRunningCodeMode=1", "", "GetRunningCodeMode"},  // nothing written: mode 0
      {"-ub missing.bin", "", kBadPath, ""}, {"-un missing.bin", "", kBadPath, ""},
      {"-ub fifo", "", kBadPath, ""}, {"-un .", "", kBadPath, ""}, {"-ue -f fifo", "", kBadPath, ""},
      {"-ub fw.bin", "QZ_CheckLoadBinFileMatch", "Bin file not match \nUpdate result: 0.\n", "Check"},
      {"-st 5m", "", kRefused, ""}, {"-st ''", "", kRefused, ""}, {"-st 2147483648", "", kRefused, ""},
      {"-st -5", "", "standby Timer -5\n" + kRefused, ""},
      {"-st +9", "", "standby Timer 9\n", "SetStandbyTimer(\"dev0\", 9)"},
      {"-st -0", "", "standby Timer 0\n", "SetStandbyTimer(\"dev0\", 0)"},
      {"-st 2147483647", "", "standby Timer 2147483647\n", "SetStandbyTimer(\"dev0\", 2147483647)"},
      {"-ss ''", "", kRefused, ""}, {"-sv ''", "", "", "SetVIDValue(\"dev0\", \"\")"},
      {"-ue", "", kBadList, ""}, {"-ue x.bin", "", kBadList, ""}, {"-ue -f", "", kBadList, ""},
      {"-ue -f fw.bin junk", "", kBadList, ""}, {"-ue -f fw.bin -t x", "", kBadList, ""},
      {"-ue -x 1", "", "Invalid input argument.\n", ""}, {"-ue -h 1", "", "Invalid input argument.\n", ""},
      {"-ue -n A", "", kAskValue, ""}, {"-ue -v 12AB", "", kBadPath, ""}, {"-ue -", "", kBadPath, ""},
      {"-ue -f -v", "", kBadPath, ""}, {"-ue -f fw.bin -v 12345", "", kBadList, ""},
      {"-ue -f fw.bin -n A " + std::string(80, 'B'), "", kBadList, ""},
      {"-ue -f fw.bin -m " + std::string(80, 'M'), "", kBadList, ""},
      {"-ue -f fw.bin - junk", "", kRefused, "SetFWBinFilePath(\"fw.bin\")"},
      {"-ue -FILE fw.bin -Vid 12AB", "", kRefused, "SetFWBinFilePath(\"fw.bin\")"},
      // A repeat replaces the earlier value.
      {std::string(kFullUe) + " -v 9 -t 5 -s " + longS, "", "",
       "SetVIDValue(\"dev0\", \"9\")|SetSerialNumStr(\"dev0\", \"" + longS + "\")|SetStandbyTimer(\"dev0\", 5)"},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.words, c.faults), c.output) << c.words;
    EXPECT_TRUE(CallsInclude(Fake().calls, c.calls)) << c.words;
    EXPECT_TRUE(!c.calls.empty() || Fake().calls.empty()) << c.words;
    EXPECT_TRUE(!c.calls.empty() || result_ == 0) << c.words;  // refused: 0
  }
}

}  // namespace
