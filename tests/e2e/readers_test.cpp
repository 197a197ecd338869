// The reading options on either series: each line, the whole setting, and
// silence when a read fails (the fault names the series' own read call).
#include <string>

#include "tests/e2e/tool_harness.h"

namespace {

using ReadersTest = ToolTest;

const struct {
  const char* option;
  const char* t7Read;
  const char* otherRead;
  const char* line;
} kReaders[] = {
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

TEST_F(ReadersTest, EachReaderPrintsItsLineOrNothingWhenItsReadFails) {
  for (const std::string series : {"other", "t7"}) {
    Fresh(series);
    EXPECT_EQ(Run({"-ged"}).output,
              "VID: 0x3A5C\nPID: 0x0101\nManufacturer string : QZ Sim\n"
              "Product string : Sim Bridge\nSerial number: SIM0000000001\n"
              "HDD String: SIMDISK VIRTUAL HDD\nStandby Timer : 600 (sec)\n")
        << series;
    for (const auto& reader : kReaders) {
      SetFault("");
      EXPECT_EQ(Run({reader.option}).output, reader.line) << reader.option << " on " << series;
      SetFault(series == "t7" ? reader.t7Read : reader.otherRead);
      EXPECT_EQ(Run({reader.option}).output, "") << reader.option << " failing on " << series;
      EXPECT_EQ(Run({"-ged"}).output, "") << reader.option << "'s read failing on " << series;
    }
  }
}

TEST_F(ReadersTest, IdsShowFourUpperCaseDigits) {
  Sim({"set", "vid", "af"});
  Sim({"set", "pid", "B"});
  EXPECT_EQ(Run({"-gvd"}).output, "VID: 0x00AF\n");
  EXPECT_EQ(Run({"-gpd"}).output, "PID: 0x000B\n");
}

}  // namespace
