// The command line: the help page's bytes, option spellings, the value rule
// and -fv against the simulated bridge.
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using CommandLineTest = ToolTest;

std::string Expected(const std::string& name) {
  const std::string here = __FILE__;
  return ReadFile(here.substr(0, here.find_last_of('/')) + "/expected/" + name);
}

// The run touched no device: the trace holds the device list and, for the
// help page, the SDK version query alone.
void ExpectNoDeviceCall(const std::vector<std::string>& trace, const std::string& option) {
  for (const std::string& line : trace) {
    const bool allowed =
        line.rfind("QZ_GetDeviceList(", 0) == 0 || line.rfind("QZ_GetSDKVersion(", 0) == 0;
    EXPECT_TRUE(allowed) << option << ": " << line;
  }
}

TEST_F(CommandLineTest, HelpPrintsTheWholePageForEverySpelling) {
  const std::string page = Expected("help.txt");
  ASSERT_FALSE(page.empty());
  for (const char* option : {"-h", "-H", "-help", "-hfv"}) {
    ClearTrace();
    const ToolResult result = Run({option, "extra"});
    EXPECT_EQ(result.output, page) << option;
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.status, 0);
    ExpectNoDeviceCall(Trace(), option);
  }
}

TEST_F(CommandLineTest, UnrecognisedOptionsPrintNothingAndLeaveTheDeviceAlone) {
  for (const char* option : {"-gv", "-g", "-gvx", "-f", "-fw", "-u", "-ux", "-s", "-sx", "-x", "-",
                             "fv", "", "-gxd", "help"}) {
    ClearTrace();
    const ToolResult result = Run({option, "12AB", "34CD"});
    EXPECT_EQ(result.output, "") << "[" << option << "]";
    EXPECT_EQ(result.status, 0);
    const std::vector<std::string> trace = Trace();
    ASSERT_EQ(trace.size(), 1u) << option;
    EXPECT_EQ(trace[0].rfind("QZ_GetDeviceList(", 0), 0u) << trace[0];
  }
}

TEST_F(CommandLineTest, OptionsThatTakeValuesAskForThemFirst) {
  const std::vector<std::vector<std::string>> commands = {
      {"-ub"}, {"-ubz"}, {"-un"}, {"-sv"}, {"-svx"}, {"-sp"},        {"-ss"},
      {"-sm"}, {"-si"},  {"-st"}, {"-sn"}, {"-SN"},  {"-sn", "ONE"}, {"-SN", "ONE"},
  };
  for (const std::vector<std::string>& args : commands) {
    ClearTrace();
    const ToolResult result = Run(args);
    EXPECT_EQ(result.output, "Please input parameter.\n") << args[0] << " " << args.size();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(Trace().size(), 1u) << args[0] << ": nothing runs";
  }
}

struct VersionCase {
  const char* mode;
  const char* version;
  std::string fault;
  std::string output;
};

TEST_F(CommandLineTest, FvShowsTheVersionOrNothing) {
  const VersionCase cases[] = {
      {"2", "01.02.03.04", "", "FW version: 01.02.03.04\n"},
      {"2", "00.00.00.00", "", "FW version: Internal code\n"},
      {"1", "01.02.03.04", "", "FW version: Internal code\n"},
      {"0", "01.02.03.04", "", ""},
      {"3", "01.02.03.04", "", ""},
      {"2", "01.02.03.04", "QZ_GetFWVersion", ""},
      {"2", "01.02.03.04", "QZ_GetRunningCodeMode", ""},
  };
  for (const VersionCase& c : cases) {
    Sim({"set", "mode", c.mode});
    Sim({"set", "version", c.version});
    SetFault(c.fault);
    for (const char* option : {"-fv", "-Fv", "-FV", "-fvx"}) {
      const ToolResult result = Run({option, "ignored"});
      EXPECT_EQ(result.output, c.output) << option << " mode " << c.mode << " " << c.fault;
      EXPECT_EQ(result.status, 0);
    }
  }
}

TEST_F(CommandLineTest, FvQueriesTheModeAndReadsTheVersionOnlyForFirmware) {
  const struct {
    const char* mode;
    std::vector<std::string> calls;
  } cases[] = {
      {"2", {"QZ_GetRunningCodeMode(\"sim0\", out) = 1", "QZ_GetFWVersion(\"sim0\", out) = 1"}},
      {"1", {"QZ_GetRunningCodeMode(\"sim0\", out) = 1"}},
  };
  for (const auto& c : cases) {
    Sim({"set", "mode", c.mode});
    ClearTrace();
    Run({"-fv"});
    std::vector<std::string> trace = Trace();
    ASSERT_FALSE(trace.empty());
    trace.erase(trace.begin());  // the device list
    EXPECT_EQ(trace, c.calls) << "mode " << c.mode;
  }
}

}  // namespace
