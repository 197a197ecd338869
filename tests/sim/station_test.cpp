// The programming station: paths never handed out twice, units unplugged and
// plugged back, eight worker processes on one state file, waits without the lock.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>

#include "sim/bridge/image_format.h"
#include "sim/bridge/state_json.h"
#include "sim/commands/control_command.h"
#include "sim/library/knobs.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

// What bridgesim prints (of standard error the first line) and its status.
std::string Bridgesim(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunControlCommand(args, out, err);
  return out.str() + err.str().substr(0, err.str().find('\n') + 1) + std::to_string(status);
}

// From a file written before unplugged units and the counter: sim0 and sim4.
TEST_F(SimTest, PathsAreNeverHandedOutTwiceAndUnpluggedUnitsKeepTheirSettings) {
  std::string old = StateToJson(State{{DefaultDevice(0), DefaultDevice(4)}});
  const std::size_t newKeys = old.find(",\n  \"unplugged\"");
  std::ofstream(StatePath()) << old.erase(newKeys, old.rfind("\n}") - newKeys);
  const std::pair<std::vector<std::string>, const char*> steps[] = {
      {{"plug", "--series", "t7"}, "sim5\n0"},
      {{"set", "--device", "2", "serial", "S5"}, "0"},
      {{"unplug", "sim5"}, "0"},
      {{"unplug", "sim5"}, "bridgesim: sim5 is not plugged in\n1"},
      {{"remove", "1"}, "0"},
      {{"plug"}, "sim6\n0"},
      {{"plug", "--back", "sim5"}, "0"},
      {{"plug", "--back", "sim5"}, "bridgesim: sim5 is not unplugged\n1"},
      {{"get", "--device", "2", "serial"}, "S5\n0"},
      {{"remove-all"}, "0"},
      {{"plug"}, "sim0\n0"}};
  for (const auto& [args, printed] : steps) EXPECT_EQ(Bridgesim(args), printed) << args[0];
  EXPECT_EQ(ProgrammingMs(UINT64_MAX, 1), INT_MAX);
}

// Each worker commits a setting of its own unit and reads it back, 24 times.
TEST_F(SimTest, EightWorkerProcessesLoseNothingAndNeverTimeOut) {
  State eight = DefaultState();
  while (eight.devices.size() < 8) AddDevice(eight, Series::kOther);
  Write(eight);
  pid_t workers[8];
  for (int w = 0; w < 8; ++w) {
    if ((workers[w] = ::fork()) != 0) continue;
    const std::string unit = "; sim" + std::to_string(w) + "/";
    RunScript("GetDeviceList=8");
    for (int i = 1; i <= 24 && !HasFailure(); ++i) {
      const std::string v = std::to_string(w * 100 + i);
      RunScript("InitialCustomizedSettingTable" + unit + "EnableUpdateStandbyTimer:1" + unit +
                "SetStandbyTimer:" + v + unit + "UpdateCustomizedSetting" + unit +
                "GetStandbyTimerfromFlash=" + v);
    }
    ::_exit(HasFailure() ? 1 : 0);
  }
  for (int w = 0; w < 8; ++w) {
    int status = -1;
    EXPECT_EQ(::waitpid(workers[w], &status, 0), workers[w]);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadDevice(w).settings.standbyTimer, w * 100 + 24);
  }
}

// A worker's call on sim0 waits 800 ms (programming 8 KiB, or a delay);
// meanwhile bridgesim changes the state at once, and the call ends on the state
// it then finds, never bringing an unplugged unit back.
struct WaitCase {
  const char* label;
  const char* knob;
  const char* value;
  const char* script;  // the worker's; its last call waits
  bool unplug;         // meanwhile sim0 is unplugged, else its timer set to 77
};
#define PROGRAM "GetDeviceList; CheckLoadBinFileMatch:IMAGE; SetFWBinFilePath:IMAGE; "
const WaitCase kWaits[] = {
    {"ProgrammingKeepsAChangeMadeMeanwhile", kProgramTimeVariable, "100",
     PROGRAM "FWUpdateProgramming", false},
    {"ProgrammingFailsOnAUnitUnpluggedMeanwhile", kProgramTimeVariable, "100",
     PROGRAM "FWUpdateProgramming=0", true},
    {"DelayedCommitFailsOnAUnitUnpluggedMeanwhile", kDelayVariable,
     "QZ_UpdateCustomizedSetting=800",
     "GetDeviceList; InitialCustomizedSettingTable; EnableUpdateSN:1; SetSerialNumStr:NEW; "
     "UpdateCustomizedSetting=0",
     true},
};

using WaitTest = SimParamTest<WaitCase>;

TEST_P(WaitTest, HoldsNoLock) {
  const WaitCase& c = GetParam();
  ImageInfo image;
  image.version = "02.00.00.00";
  image.payloadSize = 8192;
  std::string error, script = c.script;
  ASSERT_TRUE(WriteImage(File("fw.bin"), image, PatternPayload(1), &error)) << error;
  ASSERT_TRUE(ReadImage(File("fw.bin"), &image, &error)) << error;
  for (std::size_t at; (at = script.find("IMAGE")) != std::string::npos;)
    script.replace(at, 5, File("fw.bin"));
  ::setenv(c.knob, c.value, 1);
  const pid_t worker = ::fork();
  if (worker == 0) RunScript(script), ::_exit(HasFailure() ? 1 : 0);
  ::usleep(200000);
  const auto start = std::chrono::steady_clock::now();
  using Args = std::vector<std::string>;
  EXPECT_EQ(Bridgesim(c.unplug ? Args{"unplug", "sim0"} : Args{"set", "timer", "77"}), "0");
  EXPECT_LT((std::chrono::steady_clock::now() - start) / std::chrono::milliseconds(1), 400);
  int status = -1;
  EXPECT_EQ(::waitpid(worker, &status, WNOHANG), 0);  // still waiting
  EXPECT_EQ(::waitpid(worker, &status, 0), worker);
  EXPECT_EQ(status, 0);
  Device unit = DefaultDevice(0);
  if (!c.unplug) {
    unit.version = image.version;
    unit.firmware = Firmware{image.payloadSize, image.payloadCrc};
    unit.settings.standbyTimer = 77;
  }
  EXPECT_EQ(StateToJson(Read()),
            StateToJson(c.unplug ? State({}, {unit}, 1) : State({unit}, {}, 1)));
}

INSTANTIATE_TEST_SUITE_P(Station, WaitTest, ::testing::ValuesIn(kWaits), LabelName());

}  // namespace
}  // namespace sim
