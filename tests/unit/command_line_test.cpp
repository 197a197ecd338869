// The command line over the recording fake: the option table row by row,
// spellings, values, the -ue list, -st and the update options' path test.
#include "ui/command_line.h"

#include <sstream>

#include "tests/unit/front_end_test.h"
#include "ui/option_table.h"

namespace {

using Strings = std::vector<std::string>;
const char* const kRefused = "Input parameter error! \n";
const char* const kAskValue = "Please input parameter.\n";

class CommandLineTest : public FrontEndTest {
 protected:
  // Runs the words as elements 1 onwards ("''" is an empty element).
  std::string Run(const std::string& words, const std::string& faults = "",
                  int32_t* result = nullptr) {
    InstallFakeLibrary(faults);
    std::istringstream in(words);
    Strings elements = {"bridgefw"};
    for (std::string word; in >> word;) elements.push_back(word == "''" ? "" : word);
    std::vector<const char*> argv;
    for (const std::string& element : elements) argv.push_back(element.c_str());
    argv.push_back(nullptr);
    ConsoleCapture capture;
    const int32_t returned = RunCommandLine(argv.data());
    if (result != nullptr) *result = returned;
    return capture.Output();
  }
};

const char* const kSetting =
    "VID: 0x1A2B\nPID: 0x00C4\nManufacturer string : Maker\nProduct string : Bridge\n"
    "Serial number: SN-FLASH\nHDD String: HDD STRING\nStandby Timer : 300 (sec)\n";
const char* const kFullUe = "-ue -f fw.bin -v 12AB -p 0C0D -m Mk -i Bx -s S1 -n H1 H2 -t 120";

// In the table's order: its letters, a spelling with its values, what it
// prints, and calls it makes.
const struct {
  const char* letters;
  const char* words;
  const char* output;
  Strings calls;
} kRows[kCommandLineOptionCount] = {
    {"h", "-Help", nullptr, {"QZ_GetSDKVersion(out) = 1"}},
    {"fv", "-FVx", "FW version: 01.02.03.04\n", {"QZ_GetFWVersion(\"dev0\", out) = 1"}},
    {"ub", "-UBz fw.bin more", "Update result: 1.\n", {"QZ_FWUpdateProgramming(\"dev0\") = 1"}},
    {"un", "-un fw.bin", "", {"QZ_FWUpdateProgrammingNoCustomizedSetting(\"dev0\") = 1"}},
    {"ue",
     kFullUe,
     "",
     {"QZ_CheckLoadBinFileMatch(\"dev0\", \"fw.bin\") = 1",
      "QZ_SetVIDValue(\"dev0\", \"12AB\") = 1", "QZ_SetPIDValue(\"dev0\", \"0C0D\") = 1",
      "QZ_SetSerialNumStr(\"dev0\", \"S1\") = 1", "QZ_SetScsiVidString(\"dev0\", \"H1\") = 1",
      "QZ_SetScsiPidString(\"dev0\", \"H2\") = 1", "QZ_SetStandbyTimer(\"dev0\", 120) = 1",
      "QZ_SetManuStr(\"dev0\", \"Mk\") = 1", "QZ_SetProdString(\"dev0\", \"Bx\") = 1",
      "QZ_FWUpdateProgrammingEX(\"dev0\") = 1"}},
    {"ged", "-GED", kSetting, {}},
    {"gvd", "-gVdx", "VID: 0x1A2B\n", {}},
    {"sv", "-Sv 12AB", "", {"QZ_SetVIDValue(\"dev0\", \"12AB\") = 1"}},
    {"gpd", "-gpd", "PID: 0x00C4\n", {}},
    {"sp", "-spx 0C4", "", {"QZ_SetPIDValue(\"dev0\", \"0C4\") = 1"}},
    {"gsd", "-gsd", "Serial number: SN-FLASH\n", {}},
    {"ss", "-ss SN9", "", {"QZ_SetSerialNumStr(\"dev0\", \"SN9\") = 1"}},
    {"gmd", "-gmd", "Manufacture string : Maker\n", {}},
    {"sm", "-sm Mk", "", {"QZ_SetManuStr(\"dev0\", \"Mk\") = 1"}},
    {"gid", "-gid", "Product string : Bridge\n", {}},
    {"si", "-si Bx", "", {"QZ_SetProdString(\"dev0\", \"Bx\") = 1"}},
    {"gtd", "-gtd", "Standby Timer Value : 300\n", {}},
    {"st", "-st 300", "standby Timer 300\n", {"QZ_SetStandbyTimer(\"dev0\", 300) = 1"}},
    {"gnd", "-gnd", "HDD String: HDD STRING \n", {}},
    {"sn",
     "-SN a ''",
     "",
     {"QZ_SetScsiVidString(\"dev0\", \"a\") = 1", "QZ_SetScsiPidString(\"dev0\", \"\") = 1"}},
};

TEST_F(CommandLineTest, EveryOptionOfTheTable) {
  for (int i = 0; i < kCommandLineOptionCount; ++i) {
    const CommandLineOption& option = kCommandLineOptions[i];
    const auto& row = kRows[i];
    ASSERT_STREQ(option.letters, row.letters);
    EXPECT_EQ(std::string(option.help).rfind(std::string(" -") + row.letters, 0), 0u);
    int32_t result = 0;
    const std::string output = Run(row.words, "", &result);
    EXPECT_EQ(output, row.output ? row.output : ExpectedPage("help.txt")) << row.words;
    EXPECT_EQ(result, 1) << row.words;
    EXPECT_TRUE(CallsInclude(Fake().calls, row.calls)) << row.words;
    // With a value element short, nothing reaches the device.
    if (option.values > 0) {
      std::string words = row.words;
      words.resize(words.find(' '));
      if (option.values == 2) words += " a";
      EXPECT_EQ(Run(words, "", &result), kAskValue) << words;
      EXPECT_EQ(result, 0);
      EXPECT_TRUE(Fake().calls.empty()) << words;
    }
    // A failing read prints no value line.
    if (row.letters[0] == 'g' || row.letters[0] == 'f') {
      EXPECT_EQ(Run(row.words, kReadsFail, &result), "") << row.words;
      EXPECT_EQ(result, 0);
    }
  }
}

TEST_F(CommandLineTest, UnknownSpellingsPrintAndCallNothing) {
  for (const char* words : {"-gv", "-g", "-gvx", "-f", "-fw", "-u", "-ux", "-s", "-sx", "-x", "-",
                            "fv", "''", "-hv"}) {
    int32_t result = 1;
    const std::string output = Run(words, "", &result);
    if (std::string(words) == "-hv") {
      EXPECT_EQ(output, ExpectedPage("help.txt"));
      continue;
    }
    EXPECT_EQ(output, "") << words;
    EXPECT_EQ(result, 0) << words;
    EXPECT_TRUE(Fake().calls.empty()) << words;
  }
  const char* const noElement[] = {"bridgefw", nullptr};
  EXPECT_EQ(RunCommandLine(noElement), 0);
  EXPECT_EQ(RunCommandLine(nullptr), 0);
}

TEST_F(CommandLineTest, HelpPageShowsTheLibraryVersionWithinItsBuffer) {
  std::string page = ExpectedPage("help.txt");
  EXPECT_EQ(Run("-h", "QZ_GetSDKVersion"), page.replace(page.find("FAKE 2.0"), 8, ""));
  InstallFakeLibrary();
  Fake().texts["QZ_GetSDKVersion"] = std::string(40, 'S');
  ConsoleCapture capture;
  const char* const argv[] = {"bridgefw", "-h", nullptr};
  RunCommandLine(argv);
  page = ExpectedPage("help.txt");
  EXPECT_EQ(capture.Output(),
            page.replace(page.find("FAKE 2.0"), 8, std::string(19, 'S')));
}

TEST_F(CommandLineTest, ValuesAndTheirMessages) {
  const struct {
    std::string words;
    const char* faults;
    std::string output;
    Strings calls;
  } cases[] = {
      {"-fv", "QZ_GetRunningCodeMode=1", "", {}},  // nothing written: mode 0
      {"-ub missing.bin", "", "Invalid firmware path.\n", {}},
      {"-un missing.bin", "", "Invalid firmware path.\n", {}},
      {"-ub fw.bin", "QZ_CheckLoadBinFileMatch", "Bin file not match \nUpdate result: 0.\n", {}},
      {"-st 5m", "", kRefused, {}},
      {"-st ''", "", kRefused, {}},
      {"-st 2147483648", "", kRefused, {}},
      {"-st -5", "", std::string("standby Timer -5\n") + kRefused, {}},
      {"-st +7", "", "standby Timer 7\n", {"QZ_SetStandbyTimer(\"dev0\", 7) = 1"}},
      {"-st -0", "", "standby Timer 0\n", {"QZ_SetStandbyTimer(\"dev0\", 0) = 1"}},
      {"-st 2147483647", "", "standby Timer 2147483647\n",
       {"QZ_SetStandbyTimer(\"dev0\", 2147483647) = 1"}},
      {"-ss ''", "", kRefused, {}},
      {"-sv ''", "", "", {"QZ_SetVIDValue(\"dev0\", \"\") = 1"}},
      {"-ue", "", "Invalid input parameter!\n", {}},
      {"-ue x.bin", "", "Invalid input parameter!\n", {}},
      {"-ue -f", "", "Invalid input parameter!\n", {}},
      {"-ue -f fw.bin junk", "", "Invalid input parameter!\n", {}},
      {"-ue -x 1", "", "Invalid input argument.\n", {}},
      {"-ue -h 1", "", "Invalid input argument.\n", {}},
      {"-ue -n A", "", kAskValue, {}},
      {"-ue -v 12AB", "", "Invalid firmware path.\n", {}},
      {"-ue -", "", "Invalid firmware path.\n", {}},
      {"-ue -f -v", "", "Invalid firmware path.\n", {}},
      {"-ue -f fw.bin -t x", "", "Invalid input parameter!\n", {}},
      {"-ue -f fw.bin -v 12345", "", "Invalid input parameter!\n", {}},
      {"-ue -f fw.bin -n A " + std::string(80, 'B'), "", "Invalid input parameter!\n", {}},
      {"-ue -f fw.bin -m " + std::string(80, 'M'), "", "Invalid input parameter!\n", {}},
      {"-ue -f fw.bin - junk", "", kRefused, {"QZ_SetFWBinFilePath(\"fw.bin\") = 1"}},
      {"-ue -FILE fw.bin -Vid 12AB", "", kRefused, {"QZ_SetFWBinFilePath(\"fw.bin\") = 1"}},
      // A repeat replaces the earlier value.
      {std::string(kFullUe) + " -v 9 -t 5 -s " + std::string(79, 'S'),
       "",
       "",
       {"QZ_SetVIDValue(\"dev0\", \"9\") = 1",
        "QZ_SetSerialNumStr(\"dev0\", \"" + std::string(79, 'S') + "\") = 1",
        "QZ_SetStandbyTimer(\"dev0\", 5) = 1"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.words, c.faults), c.output) << c.words;
    EXPECT_TRUE(CallsInclude(Fake().calls, c.calls)) << c.words;
    if (c.calls.empty() && c.words != "-fv") {
      // Refused before the operation, or the operation stopped at its guard.
      EXPECT_LE(Fake().calls.size(), 1u) << c.words;
    }
  }
}

TEST_F(CommandLineTest, InternalCodeVersion) {
  InstallFakeLibrary();
  for (const int32_t mode : {1, 2}) {
    Fake().runningMode = mode;
    Fake().texts["QZ_GetFWVersion"] = "00.00.00.00";
    const char* const argv[] = {"bridgefw", "-fv", nullptr};
    ConsoleCapture capture;
    RunCommandLine(argv);
    EXPECT_EQ(capture.Output(), "FW version: Internal code\n");
  }
}

}  // namespace
