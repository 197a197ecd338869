// The state file: strict parsing, what is refused unread, links, permissions,
// stale temporaries, the bounded lock wait; bridgesim's messages.
#include <sys/stat.h>

#include "platform/files.h"
#include "sim/bridge/state_json.h"
#include "sim/commands/control_command.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

std::string Changed(const std::string& from, const std::string& to) {
  std::string text = StateToJson(DefaultState());
  return text.replace(text.find(from), from.size(), to);
}

std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

// Each is refused as corrupt: nothing listed, the file untouched, and
// bridgesim names the field and the reason.
TEST_F(SimTest, StrictParserRefusesEveryConversion) {
  const std::pair<std::string, const char*> cases[] = {
      {Changed("\"mode\": 2", "\"mode\": 4294967297"), "devices[0].mode: not an integer"},
      {Changed("600", "4294967896"), "devices[0].standby_timer: not an integer from 0"},
      {Changed("\"mode\": 2", "\"mode\": true"), "devices[0].mode: not an integer"},
      {Changed("\"mode\": 2", "\"mode\": 2.9"), "devices[0].mode: not an integer"},
      {Changed("\"size\": 0", "\"size\": -1"), "devices[0].firmware.size: not an integer"},
      {Changed("\"path\"", "\"colour\": 1, \"path\""), "devices[0].colour: unknown key"},
      {Changed("\"series\": \"other\",", ""), "devices[0].series: missing"},
      {"{\"format\": 1, \"devices\": {}}", "devices: not an array"},
      {"{\"format\": 1e30, \"devices\": []}", "format: not an integer from 1 to 1"},
      {"[", "parse error"},
      {Changed("\"mode\": 2", "\"mode\": " + Nested(100000)),
       "devices[0].mode[0]: nested deeper than the 4 levels of the state format"},
      {Nested(100000), "[0][0][0][0]: nested deeper than the 4 levels"},
      {Changed("\"mode\": 2", "\"mode\": 2, \"mode\": 1"), "devices[0].mode: given twice"},
      {"{\"format\": 1, \"devices\": 7, \"devices\": []}", "devices: given twice"},
      {StateToJson(State{{DefaultDevice(0)}, {DefaultDevice(0)}, 1}),
       "unplugged[0].path: sim0 appears twice"},
      {Changed("\"next_path\": 1", "\"next_path\": -1"), "next_path: not an integer from 0"},
  };
  for (const auto& [text, why] : cases) {
    std::ofstream(StatePath(), std::ios::binary) << text;
    RunScript("GetDeviceList=-1; InitialCustomizedSettingTable=0");
    std::ostringstream out, err;
    EXPECT_EQ(RunControlCommand({"show"}, out, err), 1);
    EXPECT_NE(err.str().find(why), std::string::npos) << err.str();
    EXPECT_EQ(ReadText(StatePath()), text);
  }
}

// The writer takes only what the reader takes back: a device more than the
// file holds is refused, and the state stays as it was.
TEST_F(SimTest, NeverWritesAStateItCannotReadBack) {
  std::vector<Device> devices;
  for (std::size_t i = 0; i < 4000; ++i) devices.push_back(DefaultDevice(i));
  const auto size = [&](std::size_t n) {
    return StateToJson(State{{devices.begin(), devices.begin() + static_cast<long>(n)}}).size();
  };
  std::size_t fits = 1;
  for (std::size_t over = devices.size(); over - fits > 1;) {
    const std::size_t mid = (fits + over) / 2;
    (size(mid) <= platform::kMaxTextFileSize ? fits : over) = mid;
  }
  devices.resize(fits);
  Write(State{devices});
  const std::string before = ReadText(StatePath());
  std::ostringstream out, err;
  EXPECT_EQ(RunControlCommand({"add"}, out, err), 1);
  EXPECT_NE(err.str().find("bytes, more than the 1048576 a state file may hold"), std::string::npos)
      << err.str();
  EXPECT_EQ(ReadText(StatePath()), before);
  RunScript("GetDeviceList=16");
}

TEST_F(SimTest, RefusesWithoutBlockingWhatIsNoSmallRegularFile) {
  const std::pair<std::function<void(const std::string&)>, const char*> cases[] = {
      {[](const std::string& p) { ::mkfifo(p.c_str(), 0600); }, "is not a regular file"},
      {[](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); },
       "/dev/zero is not a regular file"},
      {[](const std::string& p) { std::ofstream(p) << std::string((1 << 20) + 1, ' '); },
       "is larger than 1048576 bytes"},
  };
  for (const auto& [make, why] : cases) {
    std::filesystem::remove(StatePath());
    make(StatePath());
    RunScript("GetDeviceList=-1");
    std::ostringstream out, err;
    EXPECT_EQ(RunControlCommand({"show"}, out, err), 1);
    EXPECT_NE(err.str().find(why), std::string::npos) << err.str();
  }
}

TEST_F(SimTest, WritesThroughALinkKeepingModeAndClearsStaleTemporaries) {
  std::filesystem::create_directory(File("real"));
  Write(State{{DefaultDevice(0, Series::kT7)}});
  std::filesystem::rename(StatePath(), File("real/real.json"));
  std::filesystem::remove(StatePath() + ".lock");
  std::filesystem::create_symlink("real/real.json", StatePath());
  ::chmod(File("real/real.json").c_str(), 0600);
  std::ofstream(File("real/real.json.tmp.99999")) << "left by a killed writer";
  RunScript("GetDeviceList; UpdateT7StandbyTimer:77");
  EXPECT_TRUE(std::filesystem::is_symlink(StatePath()));
  EXPECT_EQ(ReadDevice().settings.standbyTimer, 77);
  struct stat info = {};
  ASSERT_EQ(::stat(File("real/real.json").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_TRUE(std::filesystem::exists(File("real/real.json.lock")));
  EXPECT_FALSE(std::filesystem::exists(StatePath() + ".lock"));
  EXPECT_FALSE(std::filesystem::exists(File("real/real.json.tmp.99999")));
}

TEST_F(SimTest, AHeldLockFailsTheCallAfterABoundedWait) {
  RunScript("GetDeviceList");
  ::setenv(kTraceVariable, File("trace").c_str(), 1);
  std::string error;
  auto held = platform::FileLock::Acquire(StatePath() + ".lock", true, &error);
  ASSERT_TRUE(held) << error;
  platform::SetLockTimeoutForTest(30);
  RunScript("IsQZT7Series=0");
  platform::SetLockTimeoutForTest(platform::kLockTimeoutMs);
  EXPECT_NE(ReadText(File("trace"))
                .find(") = 0 # the lock " + StatePath() + ".lock was not granted within 30 ms"),
            std::string::npos);
}

// Misuse exits 2 saying what was wrong, a failure 1 with the one true reason.
TEST_F(SimTest, ControlCommandSaysWhatWasWrong) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;  // the first line on standard error
  } cases[] = {
      {{}, 2, "bridgesim: a COMMAND is needed"},
      {{"bogus"}, 2, "bridgesim: unknown command 'bogus'"},
      {{"add", "--series", "t9"}, 2, "bridgesim: add: the series is t7 or other"},
      {{"remove", "-1"}, 2, "bridgesim: remove: it takes one device number N, 0 or more"},
      {{"get", "colour"}, 2, "bridgesim: get: unknown field 'colour'"},
      {{"get", "--device", "x", "vid"}, 2, "bridgesim: get: --device takes a number N"},
      {{"set", "vid", "ZZZZ"}, 1, "bridgesim: the device cannot hold vid 'ZZZZ'"},
      {{"set", "mode", "x"}, 2, "bridgesim: set: mode takes a decimal number, not 'x'"},
      {{"set", "timer", "abc"}, 2, "bridgesim: set: timer takes a decimal number, not 'abc'"},
      {{"set", "map-hdd", ""}, 2, "bridgesim: set: map-hdd takes a decimal number, not ''"},
      {{"set", "timer", "-5"}, 1, "bridgesim: the device cannot hold timer '-5'"},
      {{"set", "mode", "2147483648"}, 1, "bridgesim: the device cannot hold mode '2147483648'"},
      {{"set", "--device", "3", "vid", "1"}, 1, "bridgesim: no device 3"},
      {{"unplug"}, 2, "bridgesim: unplug: it takes one device PATH"},
      {{"plug", "--back"},
       2,
       "bridgesim: plug: it takes nothing, --series t7|other or --back PATH"},
      {{"plug", "--series", "t9"}, 2, "bridgesim: plug: the series is t7 or other"},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(RunControlCommand(c.args, out, err), c.status) << c.message;
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.message);
  }
}

}  // namespace
}  // namespace sim
