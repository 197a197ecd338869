// The knobs: strict reading, the trace line, injected results, power loss.
#include <regex>

#include "sim/bridge/image_format.h"
#include "sim/commands/control_command.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

// A knob that names no entry point or cannot be parsed lists no device, and
// the trace and bridgesim say why.
TEST_F(SimTest, MisspelledOrMalformedKnobsListNoDevice) {
  const struct {
    const char* variable;
    const char* value;
    const char* why;  // null: accepted
  } cases[] = {
      {kFaultVariable, "QZ_UpdateCustomizedSettings", "'QZ_UpdateCustomizedSettings' is no entry"},
      {kFaultVariable, "QZ_GetFWVersion@0",
       "'QZ_GetFWVersion@0': the call number after @ is not 1"},
      {kInterruptVariable, "QZ_GetFWVersion", "'QZ_GetFWVersion' is no programming entry"},
      {kDelayVariable, "QZ_GetFWVersion", "'QZ_GetFWVersion' needs =MS, milliseconds from 0"},
      {kDelayVariable, "QZ_GetFWVersion=600001", "'QZ_GetFWVersion=600001' needs =MS"},
      {kDelayVariable, "QZ_Nope=5", "'QZ_Nope' is no entry point"},
      {kFaultVariable, "QZ_GetFWVersion@2=-5, QZ_Inquiry", nullptr},
      {kFaultVariable, "QZ_Inquiry/", "'QZ_Inquiry/' names no device after /"},
      {kDelayVariable, "QZ_Inquiry=0,QZ_GetFWVersion=1", nullptr},
      {kInterruptVariable, " ", nullptr},
      {kInterruptVariable, " QZ_FWUpdateProgramming\t", nullptr},
      {kProgramTimeVariable, "-1", "'-1' is not milliseconds from 0 to 600000"},
      {kProgramTimeVariable, " 600000 ", nullptr},
  };
  ::setenv(kTraceVariable, File("trace").c_str(), 1);
  for (const auto& c : cases) {
    ::setenv(c.variable, c.value, 1);
    std::ofstream(File("trace"), std::ios::trunc).close();
    RunScript(c.why ? "GetDeviceList=-1; IsQZT7Series=0" : "GetDeviceList=1; IsQZT7Series=0");
    std::ostringstream out, err;
    EXPECT_EQ(RunControlCommand({"get", "vid"}, out, err), 0);
    const std::string why = std::string(c.variable) + ": " + (c.why ? c.why : "");
    EXPECT_EQ(err.str().find(why) != std::string::npos, c.why != nullptr) << err.str();
    EXPECT_EQ(ReadText(File("trace")).find(") = 0 # " + why) != std::string::npos,
              c.why != nullptr);
    ::unsetenv(c.variable);
  }
}

// TIME PID CALL = RESULT [marks] [# why]; outputs show what a successful call wrote.
TEST_F(SimTest, TraceLineCarriesTimePidMarksAndReceivedValues) {
  ::setenv(kTraceVariable, File("trace").c_str(), 1);
  ::setenv(kFaultVariable, "QZ_GetPIDfromFlash=5", 1);
  ::setenv(kDelayVariable, "QZ_GetManuStrfromFlash=0", 1);
  RunScript(
      "IsQZT7Series=0; GetDeviceList; GetVIDfromFlash=14940; GetPIDfromFlash=-1; "
      "GetManuStrfromFlash; GetStandbyTimerfromFlash=600; GetT7SNbySCSICmd=0");
  const std::regex prefix(
      "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{6}Z " + std::to_string(::getpid()) + " ",
      std::regex::multiline);
  EXPECT_EQ(std::regex_replace(ReadText(File("trace")), prefix, ""),
            "QZ_IsQZT7Series(\"sim0\") = 0 # no QZ_GetDeviceList before this call\n"
            "QZ_GetDeviceList(list=[\"sim0\"], out=1) = 1\n"
            "QZ_GetVIDfromFlash(\"sim0\", out=0x3A5C) = 1\n"
            "QZ_GetPIDfromFlash(\"sim0\", out) = 5 (injected)\n"
            "QZ_GetManuStrfromFlash(\"sim0\", out=\"QZ Sim\") = 1 (delayed 0 ms)\n"
            "QZ_GetStandbyTimerfromFlash(\"sim0\", out=600) = 1\n"
            "QZ_GetT7SNbySCSICmd(\"sim0\", out) = 0 # not a call of the other series\n");
}

// A rule with /PATH fails only the calls that name that device.
TEST_F(SimTest, FaultForOneDevice) {
  Write(State{{DefaultDevice(0), DefaultDevice(1)}});
  ::setenv(kFaultVariable, "QZ_GetVIDfromFlash/sim1", 1);
  RunScript(
      "GetDeviceList=2; GetVIDfromFlash=14940; sim1/GetVIDfromFlash=-1; GetVIDfromFlash=14940");
}

TEST_F(SimTest, PowerLossLeavesInternalCodeUntilAProgrammingSucceeds) {
  ImageInfo image;
  image.version = "02.00.00.00";
  std::string error;
  ASSERT_TRUE(WriteImage(File("fw.bin"), image, PatternPayload(1), &error)) << error;
  Device device = DefaultDevice(0);
  device.settings.serial = "KEPT";
  Write(State{{device}});
  const std::string load = "GetDeviceList; CheckLoadBinFileMatch:" + File("fw.bin") +
                           "; SetFWBinFilePath:" + File("fw.bin") + "; ";
  ::setenv(kInterruptVariable, "QZ_FWUpdateProgramming", 1);
  RunScript(load + "FWUpdateProgramming=0; GetRunningCodeMode=1");
  device.mode = kModeInternal;
  device.version = "";
  device.firmware = Firmware();
  EXPECT_EQ(ReadDevice(), device);
  RunScript("FWUpdateProgrammingNoCustomizedSetting=0");  // needs regular firmware
  ::unsetenv(kInterruptVariable);
  RunScript(load + "FWUpdateProgramming; GetRunningCodeMode=2");
  EXPECT_EQ(ReadDevice().version, "02.00.00.00");
  EXPECT_EQ(ReadDevice().settings.serial, "KEPT");
}

}  // namespace
}  // namespace sim
