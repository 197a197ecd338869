// The command line: the help page's bytes, option spellings, missing values
// and -fv against the simulated bridge.
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using CommandLineTest = ToolTest;

TEST_F(CommandLineTest, OptionSpellingsAreRecognisedOrPrintNothing) {
  const std::string page = Expected("help.txt");
  ASSERT_FALSE(page.empty());
  const struct {
    std::vector<const char*> options;
    std::string output;
    bool touchesDevice;
  } cases[] = {
      {{"-h", "-H", "-help", "-hfv"}, page, false},
      {{"-gvd", "-GVD", "-gVD", "-gvdx"}, "VID: 0x3A5C\n", true},
      {{"-fv", "-Fv", "-FV", "-fvx"}, "FW version: 01.02.03.04\n", true},
      {{"-gv", "-g", "-gvx", "-f", "-fw", "-u", "-ux", "-s", "-sx", "-x", "-", "fv", "", "-gxd",
        "help"},
       "",
       false},
  };
  for (const auto& c : cases) {
    for (const char* option : c.options) {
      ClearTrace();
      EXPECT_EQ(Run({option, "12AB", "34CD"}).output, c.output) << "[" << option << "]";
      EXPECT_EQ(DeviceCalls().empty(), !c.touchesDevice) << "[" << option << "]";
    }
  }
  EXPECT_EQ(SimGet("vid"), "3A5C");
}

TEST_F(CommandLineTest, MissingValuesAreAskedForBeforeAnyDeviceCall) {
  const std::vector<std::string> commands[] = {
      {"-ub"}, {"-ubz"}, {"-un"}, {"-sv"}, {"-svx"}, {"-sp"},        {"-ss"},
      {"-sm"}, {"-si"},  {"-st"}, {"-sn"}, {"-SN"},  {"-sn", "ONE"}, {"-ue", "-n", "A"},
  };
  for (const std::vector<std::string>& args : commands) {
    ClearTrace();
    EXPECT_EQ(Run(args).output, "Please input parameter.\n") << args[0] << " " << args.size();
    EXPECT_EQ(DeviceCalls(), std::vector<std::string>{}) << args[0] << " " << args.size();
  }
}

TEST_F(CommandLineTest, FvShowsTheVersionOrNothing) {
  const struct {
    const char* mode;
    const char* version;
    const char* fault;
    std::string output;
  } cases[] = {
      {"2", "01.02.03.04", "", "FW version: 01.02.03.04\n"},
      {"2", "00.00.00.00", "", "FW version: Internal code\n"},
      {"1", "01.02.03.04", "", "FW version: Internal code\n"},
      {"0", "01.02.03.04", "", ""},
      {"3", "01.02.03.04", "", ""},
      {"2", "01.02.03.04", "QZ_GetFWVersion", ""},
      {"2", "01.02.03.04", "QZ_GetRunningCodeMode", ""},
  };
  for (const auto& c : cases) {
    Sim({"set", "mode", c.mode});
    Sim({"set", "version", c.version});
    SetFault(c.fault);
    EXPECT_EQ(Run({"-fv"}).output, c.output) << "mode " << c.mode << " " << c.fault;
  }
}

}  // namespace
