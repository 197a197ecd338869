// The writing options on either series: each writes what its reader then
// shows, and a value the device or the tool refuses leaves the device as it was.
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Lines = std::vector<std::string>;
using WritersTest = ToolTest;

TEST_F(WritersTest, EachOptionWritesWhatItsReaderShows) {
  const struct {
    Lines write;
    std::string writeOutput;
    std::string reader;
    std::string readerOutput;
  } cases[] = {
      {{"-sv", "12AB"}, "", "-gvd", "VID: 0x12AB\n"},
      {{"-sp", "0C4"}, "", "-gpd", "PID: 0x00C4\n"},
      {{"-ss", "SN-42"}, "", "-gsd", "Serial number: SN-42\n"},
      {{"-sm", "New Maker"}, "", "-gmd", "Manufacture string : New Maker\n"},
      {{"-si", "New Box"}, "", "-gid", "Product string : New Box\n"},
      {{"-st", "300"}, "standby Timer 300\n", "-gtd", "Standby Timer Value : 300\n"},
      {{"-st", "0"}, "standby Timer 0\n", "-gtd", "Standby Timer Value : 0\n"},
      {{"-sn", "ACME", "FAST DISK"}, "", "-gnd", "HDD String: ACME FAST DISK \n"},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const auto& c : cases) {
      Fresh(series);
      const std::string where = series + " " + c.write[0] + " " + c.write[1];
      EXPECT_EQ(Run(c.write).output, c.writeOutput) << where;
      EXPECT_EQ(Run({c.reader}).output, c.readerOutput) << where;
    }
  }
}

// The staging calls reach the real library in order and take effect only
// through the commit.
TEST_F(WritersTest, StagedTimerReachesTheDeviceThroughTheCommit) {
  Run({"-st", "120"});
  EXPECT_EQ(
      DeviceCalls(),
      (Lines{"QZ_IsQZT7Series(\"sim0\") = 0", "QZ_InitialCustomizedSettingTable() = 1",
             "QZ_EnableUpdateStandbyTimer(\"sim0\", 1) = 1",
             "QZ_SetStandbyTimer(\"sim0\", 120) = 1", "QZ_UpdateCustomizedSetting(\"sim0\") = 1"}));
  EXPECT_EQ(SimGet("timer"), "120");
}

TEST_F(WritersTest, RefusedValuesLeaveTheDeviceUnchanged) {
  const std::string kRejected = "Input parameter error! \n";
  const struct {
    Lines args;
    std::string output;
    std::string field;
    std::string before;
  } cases[] = {
      // Refused by the bridge.
      {{"-sv", "XYZ"}, "", "vid", "3A5C"},
      {{"-sv", "12345"}, "", "vid", "3A5C"},
      {{"-sp", "G1"}, "", "pid", "0101"},
      {{"-ss", std::string(32, 'S')}, "", "serial", "SIM0000000001"},
      {{"-sm", std::string(64, 'M')}, "", "manufacturer", "QZ Sim"},
      {{"-si", std::string(64, 'P')}, "", "product", "Sim Bridge"},
      {{"-sn", std::string(9, 'V'), "OK"}, "", "hdd-vendor", "SIMDISK"},
      // Refused by the tool before any staging.
      {{"-ss", ""}, kRejected, "serial", "SIM0000000001"},
      {{"-si", ""}, kRejected, "product", "Sim Bridge"},
      // The timer must be a whole decimal number in range; a negative one is
      // shown, then refused.
      {{"-st", "5m"}, kRejected, "timer", "600"},
      {{"-st", ""}, kRejected, "timer", "600"},
      {{"-st", "2147483648"}, kRejected, "timer", "600"},
      {{"-st", "-5"}, "standby Timer -5\n" + kRejected, "timer", "600"},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const auto& c : cases) {
      Fresh(series);
      const std::string where = series + " " + c.args[0] + " \"" + c.args[1] + "\"";
      EXPECT_EQ(Run(c.args).output, c.output) << where;
      EXPECT_EQ(SimGet(c.field), c.before) << where;
    }
  }
}

}  // namespace
