// The state file: first use, corrupt files, crash safety and concurrent
// writers (these fork processes).
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "sim/platform_file.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

TEST_F(SimTest, FirstUseCreatesTheDefaultStateInNewFolders) {
  const std::string path = File("a/b/state.json");
  State state;
  std::string error;
  ASSERT_TRUE(StateStore(path).Load(&state, &error)) << error;
  ASSERT_EQ(state.devices.size(), 1u);
  EXPECT_EQ(state.devices[0], DefaultDevice(0));
  EXPECT_NE(ReadText(path).find("\"path\": \"sim0\""), std::string::npos);
}

TEST_F(SimTest, CorruptFileFailsEverythingAndIsNeverRewritten) {
  std::string overLimit = StateToJson(DefaultState());
  overLimit.replace(overLimit.find("SIMDISK"), 7, "TOOLONGVENDOR");
  const std::string texts[] = {"",
                               "{",
                               "{\"format\": 1}",
                               "{\"format\": 2, \"devices\": []}",
                               "{\"format\": 1, \"devices\": [{\"path\": \"sim0\"}]}",
                               overLimit};
  for (const std::string& text : texts) {
    std::ofstream(StatePath(), std::ios::binary) << text;
    ResetSessionForTest();
    char buffer[256] = {};
    char* list[16] = {buffer};
    int32_t count = 7;
    EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 0) << text;
    EXPECT_EQ(count, 0);
    EXPECT_EQ(entry::QZ_IsQZT7Series(kDev), 0);
    EXPECT_EQ(entry::QZ_InitialCustomizedSettingTable(), 0);
    EXPECT_EQ(entry::QZ_UpdateT7StandbyTimer(kDev, 5), 0);
    std::string error;
    EXPECT_FALSE(StateStore(StatePath()).Update([](State&) { return true; }, &error));
    EXPECT_EQ(ReadText(StatePath()), text);
  }
}

// The crash test's child dies at this point of the state write.
WritePoint g_kill_at = WritePoint::kRenamed;

using CrashTest = SimParamTest<WritePoint>;

TEST_P(CrashTest, KilledWriterLeavesTheOldOrTheNewState) {
  UseSingleDevice(Series::kT7);
  const std::string before = ReadText(StatePath());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    g_kill_at = GetParam();
    SetWritePointHookForTest([](WritePoint point) {
      if (point == g_kill_at) ::kill(::getpid(), SIGKILL);
    });
    entry::QZ_UpdateT7StandbyTimer(kDev, 4321);
    ::_exit(3);  // not reached: a successful write passes every point
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  if (GetParam() == WritePoint::kRenamed) {
    EXPECT_EQ(ReadDevice().settings.standbyTimer, 4321);
  } else {
    EXPECT_EQ(ReadText(StatePath()), before);
  }
  // The dead writer's lock is gone with it.
  EXPECT_EQ(entry::QZ_UpdateT7StandbyTimer(kDev, 11), 1);
  EXPECT_EQ(ReadDevice().settings.standbyTimer, 11);
}

INSTANTIATE_TEST_SUITE_P(WritePoints, CrashTest,
                         ::testing::Values(WritePoint::kTempHalfWritten, WritePoint::kTempWritten,
                                           WritePoint::kTempSynced, WritePoint::kRenamed));

// Whether a POSIX record lock on the lock file's first byte, as wine's server
// takes for the Windows build, could be had in the middle of a state write.
bool g_record_lock_free = true;
std::string g_lock_path;

TEST_F(SimTest, StateWriteHoldsTheRecordLockTheWindowsBuildTakesUnderWine) {
  UseSingleDevice(Series::kT7);
  g_lock_path = StatePath() + ".lock";
  SetWritePointHookForTest([](WritePoint point) {
    if (point != WritePoint::kTempWritten) return;
    const int fd = ::open(g_lock_path.c_str(), O_RDWR);
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_len = 1;
    g_record_lock_free = fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0;
    if (fd >= 0) ::close(fd);
  });
  EXPECT_EQ(entry::QZ_UpdateT7StandbyTimer(kDev, 77), 1);
  SetWritePointHookForTest(nullptr);
  EXPECT_FALSE(g_record_lock_free);
  EXPECT_EQ(ReadDevice().settings.standbyTimer, 77);
}

// Each process commits its own field many times through the full staging.
TEST_F(SimTest, ConcurrentWritersLoseNoUpdate) {
  const struct {
    int32_t (*enable)(const char*, int32_t);
    int32_t (*set)(const char*, const char*);
    const char* prefix;
  } writers[] = {
      {entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, "A"},
      {entry::QZ_EnableUpdatePID, entry::QZ_SetPIDValue, "B"},
      {entry::QZ_EnableUpdateSN, entry::QZ_SetSerialNumStr, "serial-"},
      {entry::QZ_EnableUpdateManuStr, entry::QZ_SetManuStr, "maker-"},
      {entry::QZ_EnableUpdateProdStr, entry::QZ_SetProdString, "product-"},
      {entry::QZ_EnableUpdateDisplayHDDStrSetting, entry::QZ_SetScsiVidString, "V"},
  };
  UseSingleDevice(Series::kOther);
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (const auto& w : writers) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(gate[1]);
      char go = 0;
      if (::read(gate[0], &go, 1) < 0) ::_exit(2);  // all start together at EOF
      ResetSessionForTest();
      int failures = 0;
      for (int round = 1; round <= 25; ++round) {
        const std::string value = w.prefix + std::to_string(round);
        failures +=
            !(entry::QZ_InitialCustomizedSettingTable() == 1 && w.enable(kDev, 1) == 1 &&
              w.set(kDev, value.c_str()) == 1 && entry::QZ_UpdateCustomizedSetting(kDev) == 1);
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const Settings s = ReadDevice().settings;
  EXPECT_EQ(s.vid, 0xA25);
  EXPECT_EQ(s.pid, 0xB25);
  EXPECT_EQ(s.serial, "serial-25");
  EXPECT_EQ(s.manufacturer, "maker-25");
  EXPECT_EQ(s.product, "product-25");
  EXPECT_EQ(s.hddVendor, "V25");
  EXPECT_TRUE(s.flags.displayHdd);
}

}  // namespace
}  // namespace sim
