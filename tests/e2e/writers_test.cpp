// The writing options against the simulated bridge: each writes one setting,
// and the matching reader shows it afterwards.
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Lines = std::vector<std::string>;

class WritersTest : public ToolTest {
 protected:
  // The library calls after the device list, which every run starts with.
  Lines DeviceCalls() {
    Lines calls;
    for (const std::string& line : Trace()) {
      if (line.rfind("QZ_GetDeviceList(", 0) != 0) calls.push_back(line);
    }
    return calls;
  }
  std::string SimGet(const std::string& field) {
    std::string value = Sim({"get", field});
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
    return value;
  }
  void UseSeries(const std::string& series) {
    if (series == "t7") Sim({"set", "series", "t7"});
  }
};

struct WriteCase {
  std::vector<std::string> write;
  std::string writeOutput;
  std::string reader;
  std::string readerOutput;
  std::string field;
  std::string fieldValue;
};

TEST_F(WritersTest, EachOptionWritesWhatItsReaderShows) {
  const WriteCase cases[] = {
      {{"-sv", "12AB"}, "", "-gvd", "VID: 0x12AB\n", "vid", "12AB"},
      {{"-sp", "0C4"}, "", "-gpd", "PID: 0x00C4\n", "pid", "00C4"},
      {{"-ss", "SN-42"}, "", "-gsd", "Serial number: SN-42\n", "serial", "SN-42"},
      {{"-sm", "New Maker"},
       "",
       "-gmd",
       "Manufacture string : New Maker\n",
       "manufacturer",
       "New Maker"},
      {{"-si", "New Box"}, "", "-gid", "Product string : New Box\n", "product", "New Box"},
      {{"-st", "300"},
       "standby Timer 300\n",
       "-gtd",
       "Standby Timer Value : 300\n",
       "timer",
       "300"},
      {{"-st", "0"}, "standby Timer 0\n", "-gtd", "Standby Timer Value : 0\n", "timer", "0"},
      {{"-sn", "ACME", "FAST DISK"},
       "",
       "-gnd",
       "HDD String: ACME FAST DISK \n",
       "hdd-vendor",
       "ACME"},
      // Letter case and trailing letters do not matter.
      {{"-SVX", "BEEF"}, "", "-gvd", "VID: 0xBEEF\n", "vid", "BEEF"},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const WriteCase& c : cases) {
      Sim({"reset"});
      UseSeries(series);
      const std::string where = series + " " + c.write[0] + " " + c.write[1];
      const ToolResult written = Run(c.write);
      EXPECT_EQ(written.output, c.writeOutput) << where;
      EXPECT_EQ(written.errors, "") << where;
      EXPECT_EQ(written.status, 0) << where;
      EXPECT_EQ(Run({c.reader}).output, c.readerOutput) << where;
      EXPECT_EQ(SimGet(c.field), c.fieldValue) << where;
    }
  }
}

// The timer is the one write that asks the series first; the other call
// orders are covered call by call in the unit tests.
TEST_F(WritersTest, StandbyTimerAsksTheSeriesFirst) {
  struct TraceCase {
    std::string series;
    std::vector<std::string> args;
    Lines calls;
  };
  const TraceCase cases[] = {
      {"t7",
       {"-st", "120"},
       {"QZ_IsQZT7Series(\"sim0\") = 1", "QZ_UpdateT7StandbyTimer(\"sim0\", 120) = 1"}},
      {"other",
       {"-st", "120"},
       {"QZ_IsQZT7Series(\"sim0\") = 0", "QZ_InitialCustomizedSettingTable() = 1",
        "QZ_EnableUpdateStandbyTimer(\"sim0\", 1) = 1", "QZ_SetStandbyTimer(\"sim0\", 120) = 1",
        "QZ_UpdateCustomizedSetting(\"sim0\") = 1"}},
  };
  for (const TraceCase& c : cases) {
    Sim({"reset"});
    UseSeries(c.series);
    ClearTrace();
    EXPECT_EQ(Run(c.args).status, 0);
    EXPECT_EQ(DeviceCalls(), c.calls) << c.series << " " << c.args[0];
  }
}

TEST_F(WritersTest, MissingValueElementsRunNothing) {
  const std::vector<std::string> cases[] = {
      {"-sv"}, {"-sp"}, {"-ss"}, {"-sm"}, {"-si"}, {"-st"}, {"-sn"}, {"-sn", "ONLY"},
  };
  for (const std::vector<std::string>& args : cases) {
    ClearTrace();
    const ToolResult result = Run(args);
    EXPECT_EQ(result.output, "Please input parameter.\n") << args[0] << " " << args.size();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(DeviceCalls(), Lines{}) << args[0] << " " << args.size();
  }
}

TEST_F(WritersTest, ValuesTheDeviceRefusesLeaveItUnchanged) {
  struct RefusedCase {
    std::vector<std::string> args;
    std::string output;
    std::string field;
    std::string before;
  };
  const RefusedCase cases[] = {
      {{"-sv", "XYZ"}, "", "vid", "3A5C"},
      {{"-sv", "12345"}, "", "vid", "3A5C"},
      {{"-sv", ""}, "", "vid", "3A5C"},
      {{"-sp", "G1"}, "", "pid", "0101"},
      {{"-ss", std::string(32, 'S')}, "", "serial", "SIM0000000001"},
      {{"-sm", std::string(64, 'M')}, "", "manufacturer", "QZ Sim"},
      {{"-si", std::string(64, 'P')}, "", "product", "Sim Bridge"},
      {{"-sn", std::string(9, 'V'), "OK"}, "", "hdd-vendor", "SIMDISK"},
      // Refused by the operation before any staging.
      {{"-ss", ""}, "Input parameter error! \n", "serial", "SIM0000000001"},
      {{"-sm", ""}, "Input parameter error! \n", "manufacturer", "QZ Sim"},
      {{"-si", ""}, "Input parameter error! \n", "product", "Sim Bridge"},
      // A timer text that is no decimal number is refused by the front end;
      // a negative number is shown, then refused by the operation.
      {{"-st", "5m"}, "Input parameter error! \n", "timer", "600"},
      {{"-st", ""}, "Input parameter error! \n", "timer", "600"},
      {{"-st", "2147483648"}, "Input parameter error! \n", "timer", "600"},
      {{"-st", "-5"}, "standby Timer -5\nInput parameter error! \n", "timer", "600"},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const RefusedCase& c : cases) {
      Sim({"reset"});
      UseSeries(series);
      const std::string where = series + " " + c.args[0] + " \"" + c.args[1] + "\"";
      const ToolResult result = Run(c.args);
      EXPECT_EQ(result.output, c.output) << where;
      EXPECT_EQ(result.status, 0) << where;
      EXPECT_EQ(SimGet(c.field), c.before) << where;
    }
  }
}

TEST_F(WritersTest, FailedInitStillAsksTheSeriesThenStops) {
  SetFault("QZ_InitialCustomizedSettingTable");
  ClearTrace();
  EXPECT_EQ(Run({"-si", "Box"}).output, "");
  EXPECT_EQ(DeviceCalls(),
            (Lines{"QZ_InitialCustomizedSettingTable() = 0", "QZ_IsQZT7Series(\"sim0\") = 0"}));
  EXPECT_EQ(SimGet("product"), "Sim Bridge");
}

TEST_F(WritersTest, FailedCommitLeavesTheDeviceUnchanged) {
  for (const std::string series : {"other", "t7"}) {
    Sim({"reset"});
    UseSeries(series);
    SetFault("QZ_UpdateCustomizedSetting,QZ_UpdateT7StandbyTimer");
    EXPECT_EQ(Run({"-ss", "NEWSERIAL"}).output, "") << series;
    EXPECT_EQ(Run({"-st", "42"}).output, "standby Timer 42\n") << series;
    SetFault("");
    EXPECT_EQ(SimGet("serial"), "SIM0000000001") << series;
    EXPECT_EQ(SimGet("timer"), "600") << series;
  }
}

}  // namespace
