// Start-up: binding the library, listing the devices, choosing a front end.
#include <string>

#include "tests/e2e/tool_harness.h"

namespace {

using StartupTest = ToolTest;

TEST_F(StartupTest, LibraryAbsentEndsTheRunWithOneLine) {
  const ToolResult result = RunCopied({}, {"-h"});
  EXPECT_EQ(result.output, "Initalize the API entries fail!\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(Trace().empty());
}

TEST_F(StartupTest, LibraryLackingOneNameIsRejected) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"-h"}, {}}) {
    const ToolResult result = RunCopied({LackingLibrary()}, args);
    EXPECT_EQ(result.output, "Initalize the API entries fail!\n");
    EXPECT_EQ(result.status, 0);
  }
  EXPECT_TRUE(Trace().empty()) << "no entry point may be called";
}

TEST_F(StartupTest, NoDeviceEndsTheRunBeforeAnyFrontEnd) {
  Sim({"remove-all"});
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"-h"}, {"-fv"}, {"-sv", "1234"}, {""}}) {
    ClearTrace();
    const ToolResult result = Run(args, "2\n");
    EXPECT_EQ(result.output, "Not connect device\n");
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.status, 0);
    const std::vector<std::string> trace = Trace();
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].rfind("QZ_GetDeviceList(", 0), 0u) << trace[0];
  }
}

TEST_F(StartupTest, OnlyTheFirstOfSeveralDevicesIsUsed) {
  Sim({"add", "--series", "t7"});
  Sim({"add"});
  ClearTrace();
  const ToolResult result = Run({"-ged"});
  EXPECT_EQ(result.status, 0);
  const std::vector<std::string> trace = Trace();
  ASSERT_GT(trace.size(), 2u);
  for (const std::string& line : trace) {
    if (line.rfind("QZ_GetDeviceList(", 0) == 0) continue;
    EXPECT_NE(line.find("(\"sim0\""), std::string::npos) << line;
  }
}

TEST_F(StartupTest, AnEmptyFirstArgumentSelectsTheCommandLine) {
  // The menu would print its banner; the command line prints nothing for it.
  const ToolResult result = Run({""}, "21\n");
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.status, 0);
}

}  // namespace
