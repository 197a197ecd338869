// The reading options against the simulated bridge of either series: lines,
// call order, and silence when a read fails.
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

class ReadersTest : public ToolTest {
 protected:
  // Output of one run, and the calls it made after the device list.
  ToolResult RunTraced(const std::vector<std::string>& args, std::vector<std::string>* calls) {
    ClearTrace();
    const ToolResult result = Run(args);
    *calls = Trace();
    if (!calls->empty()) calls->erase(calls->begin());
    return result;
  }
};

const char* const kSeries[] = {"other", "t7"};

std::string SeriesCall(bool isT7) {
  return std::string("QZ_IsQZT7Series(\"sim0\") = ") + (isT7 ? "1" : "0");
}

std::string Read(const std::string& name) { return name + "(\"sim0\", out) = 1"; }

struct ReaderCase {
  const char* option;
  const char* t7Read;
  const char* otherRead;
  const char* line;
};

// In the order in which -ged reads.
const ReaderCase kReaders[] = {
    {"-gvd", "QZ_GetT7VIDbySCSICmd", "QZ_GetVIDfromFlash", "VID: 0x3A5C\n"},
    {"-gpd", "QZ_GetT7PIDbySCSICmd", "QZ_GetPIDfromFlash", "PID: 0x0101\n"},
    {"-gmd", "QZ_GetManuStrfromFlash", "QZ_GetManuStrfromFlash", "Manufacture string : QZ Sim\n"},
    {"-gid", "QZ_GetProdStrfromFlash", "QZ_GetProdStrfromFlash", "Product string : Sim Bridge\n"},
    {"-gsd", "QZ_GetT7SNbySCSICmd", "QZ_GetSNfromFlash", "Serial number: SIM0000000001\n"},
    {"-gnd", "QZ_GetHDDStrfromFlash", "QZ_GetHDDStrfromFlash",
     "HDD String: SIMDISK VIRTUAL HDD \n"},
    {"-gtd", "QZ_GetT7StandbyTimerbySCSICmd", "QZ_GetStandbyTimerfromFlash",
     "Standby Timer Value : 600\n"},
};

std::vector<std::string> ReaderCalls(const ReaderCase& reader, bool isT7) {
  std::vector<std::string> calls;
  if (std::string(reader.t7Read) != reader.otherRead) calls.push_back(SeriesCall(isT7));
  calls.push_back(Read(isT7 ? reader.t7Read : reader.otherRead));
  return calls;
}

TEST_F(ReadersTest, EachReaderPrintsItsLineOnBothSeries) {
  for (const char* series : kSeries) {
    const bool isT7 = std::string(series) == "t7";
    Sim({"set", "series", series});
    for (const ReaderCase& reader : kReaders) {
      std::vector<std::string> calls;
      const ToolResult result = RunTraced({reader.option}, &calls);
      EXPECT_EQ(result.output, reader.line) << reader.option << " on " << series;
      EXPECT_EQ(result.status, 0);
      EXPECT_EQ(calls, ReaderCalls(reader, isT7)) << reader.option << " on " << series;
    }
  }
}

TEST_F(ReadersTest, OptionSpellingsDoNotMatter) {
  for (const char* option : {"-GVD", "-gVD", "-gvdx", "-Gvd"}) {
    const ToolResult result = Run({option, "ignored"});
    EXPECT_EQ(result.output, "VID: 0x3A5C\n") << option;
  }
}

const char* const kWholeSetting =
    "VID: 0x3A5C\n"
    "PID: 0x0101\n"
    "Manufacturer string : QZ Sim\n"
    "Product string : Sim Bridge\n"
    "Serial number: SIM0000000001\n"
    "HDD String: SIMDISK VIRTUAL HDD\n"
    "Standby Timer : 600 (sec)\n";

TEST_F(ReadersTest, GedPrintsTheSevenLinesAfterElevenCalls) {
  for (const char* series : kSeries) {
    const bool isT7 = std::string(series) == "t7";
    Sim({"set", "series", series});
    std::vector<std::string> expected;
    for (const ReaderCase& reader : kReaders) {  // listed in the order of a whole read
      for (const std::string& call : ReaderCalls(reader, isT7)) expected.push_back(call);
    }
    std::vector<std::string> calls;
    const ToolResult result = RunTraced({"-GED"}, &calls);
    EXPECT_EQ(result.output, kWholeSetting) << series;
    EXPECT_EQ(calls, expected) << series;
    EXPECT_EQ(calls.size(), 11u);
  }
}

TEST_F(ReadersTest, IdsShowFourUpperCaseDigits) {
  Sim({"set", "vid", "af"});
  Sim({"set", "pid", "B"});
  EXPECT_EQ(Run({"-gvd"}).output, "VID: 0x00AF\n");
  EXPECT_EQ(Run({"-gpd"}).output, "PID: 0x000B\n");
  EXPECT_EQ(Run({"-ged"}).output.substr(0, 24), "VID: 0x00AF\nPID: 0x000B\n");
}

TEST_F(ReadersTest, AFailingReadPrintsNothing) {
  for (const char* series : kSeries) {
    const bool isT7 = std::string(series) == "t7";
    Sim({"set", "series", series});
    for (const ReaderCase& reader : kReaders) {
      const std::string failing = isT7 ? reader.t7Read : reader.otherRead;
      SetFault(failing);
      for (const char* option : {reader.option, "-ged"}) {
        std::vector<std::string> calls;
        const ToolResult result = RunTraced({option}, &calls);
        EXPECT_EQ(result.output, "") << option << " with " << failing << " failing on " << series;
        EXPECT_EQ(result.status, 0);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), failing + "(\"sim0\", out) = 0") << "no read after the failure";
      }
    }
  }
}

}  // namespace
