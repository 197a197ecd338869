// The command line: option recognition, the help page's frame, -fv and the
// reader options' lines.
#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"
#include "ui/help_page.h"

namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }

  // Runs the command line with these elements after the program name.
  int32_t Run(std::vector<const char*> args) {
    args.insert(args.begin(), "bridgefw");
    args.push_back(nullptr);
    return RunCommandLine(args.data());
  }
};

TEST_F(CommandLineTest, UnrecognisedOptionsPrintNothingAndCallNothing) {
  for (const char* option :
       {"-gv", "-g",  "-gvx", "-gxd", "-g d", "-f", "-fw", "-u",  "-ux",    "-s",
        "-sx", "-sd", "-x",   "-",    "fv",   "",   "--h", " -h", "-\xC8v", "h"}) {
    InstallFakeLibrary();
    ConsoleCapture capture;
    EXPECT_EQ(Run({option, "1234", "5678"}), 0) << option;
    EXPECT_EQ(capture.Output(), "") << option;
    EXPECT_TRUE(Fake().calls.empty()) << option;
  }
}

TEST_F(CommandLineTest, AVectorWithoutAnOptionIsRejectedQuietly) {
  const char* const onlyName[] = {"bridgefw", nullptr};
  const char* const empty[] = {nullptr};
  ConsoleCapture capture;
  EXPECT_EQ(RunCommandLine(onlyName), 0);
  EXPECT_EQ(RunCommandLine(empty), 0);
  EXPECT_EQ(RunCommandLine(nullptr), 0);
  EXPECT_EQ(capture.Output(), "");
  EXPECT_TRUE(Fake().calls.empty());
}

std::string HelpPage(const std::string& sdkVersion) {
  std::string page = std::string(kHelpRule) + "Sample tool v1.0.0.0 \n" +
                     "SDK version : " + sdkVersion + "\n" + kHelpRule;
  for (const char* line : kHelpLines) page += line;
  return page + kHelpRule;
}

TEST_F(CommandLineTest, EveryHelpSpellingPrintsThePageWithoutTouchingTheDevice) {
  for (const char* option : {"-h", "-H", "-help", "-hx", "-Hfv"}) {
    InstallFakeLibrary();
    ConsoleCapture capture;
    EXPECT_EQ(Run({option}), 1) << option;
    EXPECT_EQ(capture.Output(), HelpPage("FAKE 2.0")) << option;
    EXPECT_EQ(Fake().CallTexts(), std::vector<std::string>{"QZ_GetSDKVersion(out)"}) << option;
  }
}

TEST_F(CommandLineTest, TheSdkLineShowsWhatTheLibraryWroteWithinItsBuffer) {
  struct {
    bool fails;
    std::string written;
    std::string shown;
  } const cases[] = {
      {true, "ignored", ""},
      {false, "", ""},
      {false, std::string(19, 'S'), std::string(19, 'S')},
      {false, std::string(40, 'S'), std::string(19, 'S')},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().texts["QZ_GetSDKVersion"] = c.written;
    if (c.fails) Fake().failNames = {"QZ_GetSDKVersion"};
    ConsoleCapture capture;
    EXPECT_EQ(Run({"-h"}), 1);
    EXPECT_EQ(capture.Output(), HelpPage(c.shown)) << c.written;
  }
}

TEST_F(CommandLineTest, TheHelpLinesKeepTheirColumns) {
  for (int i = 0; i < kHelpLineCount; ++i) {
    const std::string line = kHelpLines[i];
    EXPECT_EQ(line.size(), i == 5 ? 93u : 95u) << "line " << i + 1;
    EXPECT_EQ(line.back(), '\n') << "line " << i + 1;
  }
  EXPECT_EQ(std::string(kHelpLines[5]).find('\t'), 13u);
  EXPECT_EQ(std::string(kHelpRule), std::string(94, '-') + "\n");
}

struct VersionCase {
  int32_t mode;
  const char* version;
  bool versionFails;
  int32_t result;
  const char* output;
};

TEST_F(CommandLineTest, FvPrintsTheVersionOnlyAfterSuccess) {
  const VersionCase cases[] = {
      {2, "01.02.03.04", false, 1, "FW version: 01.02.03.04\n"},
      {2, "00.00.00.00", false, 1, "FW version: Internal code\n"},
      {2, "00.00.00.00 ", false, 1, "FW version: 00.00.00.00 \n"},
      {2, "", false, 1, "FW version: \n"},
      {1, "ignored", false, 1, "FW version: Internal code\n"},
      {2, "01.02.03.04", true, 0, ""},
      {0, "01.02.03.04", false, 0, ""},
      {3, "01.02.03.04", false, 0, ""},
  };
  for (const VersionCase& c : cases) {
    for (const char* option : {"-fv", "-FV", "-fVx"}) {
      InstallFakeLibrary();
      Fake().runningMode = c.mode;
      Fake().texts["QZ_GetFWVersion"] = c.version;
      if (c.versionFails) Fake().failNames = {"QZ_GetFWVersion"};
      ConsoleCapture capture;
      EXPECT_EQ(Run({option, "ignored"}), c.result) << option << " mode " << c.mode;
      EXPECT_EQ(capture.Output(), c.output) << option << " mode " << c.mode;
    }
  }
}

struct ReaderLineCase {
  const char* option;
  bool isT7;
  const char* output;
};

TEST_F(CommandLineTest, EachReaderPrintsItsOwnLine) {
  const ReaderLineCase cases[] = {
      {"-gvd", false, "VID: 0x1A2B\n"},
      {"-GVD", true, "VID: 0x1A2B\n"},
      {"-gpd", false, "PID: 0x00C4\n"},
      {"-gPdx", true, "PID: 0x00C4\n"},
      {"-gsd", false, "Serial number: SN-FLASH\n"},
      {"-gsd", true, "Serial number: SN-SCSI\n"},
      {"-gmd", false, "Manufacture string : Maker\n"},
      {"-gid", true, "Product string : Bridge\n"},
      {"-gtd", false, "Standby Timer Value : 300\n"},
      {"-gtd", true, "Standby Timer Value : 300\n"},
      {"-gnd", false, "HDD String: HDD STRING \n"},
      {"-ged", false,
       "VID: 0x1A2B\nPID: 0x00C4\nManufacturer string : Maker\nProduct string : Bridge\n"
       "Serial number: SN-FLASH\nHDD String: HDD STRING\nStandby Timer : 300 (sec)\n"},
      {"-GeD", true,
       "VID: 0x1A2B\nPID: 0x00C4\nManufacturer string : Maker\nProduct string : Bridge\n"
       "Serial number: SN-SCSI\nHDD String: HDD STRING\nStandby Timer : 300 (sec)\n"},
  };
  for (const ReaderLineCase& c : cases) {
    InstallFakeLibrary();
    Fake().isT7 = c.isT7;
    ConsoleCapture capture;
    EXPECT_EQ(Run({c.option}), 1) << c.option;
    EXPECT_EQ(capture.Output(), c.output) << c.option;
  }
}

TEST_F(CommandLineTest, ReaderLinesShowIdsAsFourUpperCaseDigitsAndNegativeTimers) {
  Fake().vid = 0x00AF;
  Fake().pid = 0xFFFF;
  Fake().standbyTimer = -5;
  for (const ReaderLineCase& c : {ReaderLineCase{"-gvd", false, "VID: 0x00AF\n"},
                                  ReaderLineCase{"-gpd", false, "PID: 0xFFFF\n"},
                                  ReaderLineCase{"-gtd", false, "Standby Timer Value : -5\n"}}) {
    ConsoleCapture capture;
    EXPECT_EQ(Run({c.option}), 1) << c.option;
    EXPECT_EQ(capture.Output(), c.output) << c.option;
  }
}

TEST_F(CommandLineTest, AFailingReadPrintsNothingAndReturnsZero) {
  const struct {
    const char* option;
    const char* failing;
  } cases[] = {
      {"-gvd", "QZ_GetVIDfromFlash"},     {"-gpd", "QZ_GetPIDfromFlash"},
      {"-gsd", "QZ_GetSNfromFlash"},      {"-gmd", "QZ_GetManuStrfromFlash"},
      {"-gid", "QZ_GetProdStrfromFlash"}, {"-gtd", "QZ_GetStandbyTimerfromFlash"},
      {"-gnd", "QZ_GetHDDStrfromFlash"},  {"-ged", "QZ_GetStandbyTimerfromFlash"},
      {"-ged", "QZ_GetVIDfromFlash"},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().failNames = {c.failing};
    ConsoleCapture capture;
    EXPECT_EQ(Run({c.option}), 0) << c.option << " " << c.failing;
    EXPECT_EQ(capture.Output(), "") << c.option << " " << c.failing;
  }
}

TEST_F(CommandLineTest, AReaderReturnsItsOperationsResult) {
  Fake().results["QZ_GetVIDfromFlash"] = 9;
  Fake().results["QZ_GetStandbyTimerfromFlash"] = -2;
  ConsoleCapture capture;
  EXPECT_EQ(Run({"-gvd"}), 9);
  EXPECT_EQ(Run({"-ged"}), -2);
}

}  // namespace
