// The state file: first use, corrupt files, crash safety and concurrent
// writers (these fork processes).
#include "sim/state_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/entries.h"
#include "sim/platform_file.h"
#include "sim/session.h"
#include "sim/state_json.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using testing::SimEnvironment;

class StateStoreTest : public ::testing::Test {
 protected:
  SimEnvironment env_;
};

TEST_F(StateStoreTest, FirstUseCreatesTheDefaultStateInNewFolders) {
  const std::string path = env_.File("a/b/state.json");
  State state;
  std::string error;
  ASSERT_TRUE(StateStore(path).Load(&state, &error)) << error;
  ASSERT_EQ(state.devices.size(), 1u);
  EXPECT_EQ(state.devices[0], DefaultDevice(0));
  EXPECT_NE(env_.ReadText(path).find("\"path\": \"sim0\""), std::string::npos);
}

const char* const kCorruptTexts[] = {
    "",
    "{",
    "not json",
    "{\"format\": 1}",
    "{\"format\": 2, \"devices\": []}",
    "{\"format\": 1, \"devices\": [{\"path\": \"sim0\"}]}",
};

TEST_F(StateStoreTest, CorruptFileFailsEverythingAndIsNeverRewritten) {
  for (const char* text : kCorruptTexts) {
    { std::ofstream(env_.statePath(), std::ios::binary) << text; }
    ResetSessionForTest();
    char buffer[256] = {};
    char* list[16] = {buffer};
    int32_t count = 7;
    EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 0) << text;
    EXPECT_EQ(count, 0);
    EXPECT_EQ(entry::QZ_IsQZT7Series("sim0"), 0);
    EXPECT_EQ(entry::QZ_InitialCustomizedSettingTable(), 0);
    EXPECT_EQ(entry::QZ_UpdateT7StandbyTimer("sim0", 5), 0);
    std::string error;
    EXPECT_FALSE(StateStore(env_.statePath()).Update([](State&) { return true; }, &error));
    EXPECT_EQ(env_.ReadText(env_.statePath()), text);
  }
}

TEST_F(StateStoreTest, DeviceOverTheLimitsIsCorrupt) {
  State state;
  state.devices.push_back(DefaultDevice(0));
  std::string text = StateToJson(state);
  text.replace(text.find("SIMDISK"), 7, "TOOLONGVENDOR");
  State parsed;
  std::string error;
  EXPECT_FALSE(StateFromJson(text, &parsed, &error));
  EXPECT_NE(error.find("hdd-vendor"), std::string::npos) << error;
}

TEST_F(StateStoreTest, JsonRoundTripKeepsEveryField) {
  State state;
  state.devices.push_back(DefaultDevice(0, Series::kT7));
  state.devices.push_back(DefaultDevice(3));
  Device& d = state.devices[1];
  d.mode = 1;
  d.settings.flags.snFromNvram = true;
  d.settings.flags.inquiryCtl = true;
  d.firmware = Firmware{123456789012ull, 0xDEADBEEF};
  State parsed;
  std::string error;
  ASSERT_TRUE(StateFromJson(StateToJson(state), &parsed, &error)) << error;
  ASSERT_EQ(parsed.devices.size(), 2u);
  EXPECT_EQ(parsed.devices[0], state.devices[0]);
  EXPECT_EQ(parsed.devices[1], state.devices[1]);
}

// Child side of the crash test: dies at `g_kill_at` inside the state write.
WritePoint g_kill_at = WritePoint::kRenamed;
void KillHere(WritePoint point) {
  if (point == g_kill_at) ::kill(::getpid(), SIGKILL);
}

class CrashTest : public ::testing::TestWithParam<WritePoint> {
 protected:
  SimEnvironment env_;
};

TEST_P(CrashTest, KilledWriterLeavesTheOldOrTheNewState) {
  env_.UseSingleDevice(Series::kT7);
  const std::string before = env_.ReadText(env_.statePath());
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    g_kill_at = GetParam();
    SetWritePointHookForTest(KillHere);
    entry::QZ_UpdateT7StandbyTimer("sim0", 4321);
    ::_exit(3);  // not reached: every point is passed on a successful write
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);

  const std::string after = env_.ReadText(env_.statePath());
  State state;
  std::string error;
  ASSERT_TRUE(StateFromJson(after, &state, &error)) << error;
  if (GetParam() == WritePoint::kRenamed) {
    EXPECT_EQ(state.devices.at(0).settings.standbyTimer, 4321);
  } else {
    EXPECT_EQ(after, before);
  }
  // The dead writer's lock is gone with it: the next change goes through.
  EXPECT_EQ(entry::QZ_UpdateT7StandbyTimer("sim0", 11), 1);
  EXPECT_EQ(env_.ReadDevice().settings.standbyTimer, 11);
}

INSTANTIATE_TEST_SUITE_P(WritePoints, CrashTest,
                         ::testing::Values(WritePoint::kTempHalfWritten, WritePoint::kTempWritten,
                                           WritePoint::kTempSynced, WritePoint::kRenamed));

// Hook of the lock test: whether a POSIX record lock on the first byte
// of the lock file, as wine's server takes for the Windows build, could be
// had in the middle of a state write.
bool g_record_lock_free = true;
std::string g_lock_path;
void TryRecordLock(WritePoint point) {
  if (point != WritePoint::kTempWritten) return;
  int fd = ::open(g_lock_path.c_str(), O_RDWR);
  struct flock range = {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 1;
  g_record_lock_free = fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0;
  if (fd >= 0) ::close(fd);
}

TEST_F(StateStoreTest, StateWriteHoldsTheRecordLockTheWindowsBuildTakesUnderWine) {
  env_.UseSingleDevice(Series::kT7);
  g_lock_path = env_.statePath() + ".lock";
  SetWritePointHookForTest(TryRecordLock);
  EXPECT_EQ(entry::QZ_UpdateT7StandbyTimer("sim0", 77), 1);
  SetWritePointHookForTest(nullptr);
  EXPECT_FALSE(g_record_lock_free);
  EXPECT_EQ(env_.ReadDevice().settings.standbyTimer, 77);
}

// Each writer commits its own field many times through the full staging.
struct Writer {
  int32_t (*enable)(const char*, int32_t);
  int32_t (*set)(const char*, const char*);
  const char* prefix;
};

TEST_F(StateStoreTest, ConcurrentWritersLoseNoUpdate) {
  env_.UseSingleDevice(Series::kOther);
  const Writer writers[] = {
      {entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, "A"},
      {entry::QZ_EnableUpdatePID, entry::QZ_SetPIDValue, "B"},
      {entry::QZ_EnableUpdateSN, entry::QZ_SetSerialNumStr, "serial-"},
      {entry::QZ_EnableUpdateManuStr, entry::QZ_SetManuStr, "maker-"},
      {entry::QZ_EnableUpdateProdStr, entry::QZ_SetProdString, "product-"},
      {entry::QZ_EnableUpdateDisplayHDDStrSetting, entry::QZ_SetScsiVidString, "V"},
  };
  constexpr int kRounds = 25;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (const Writer& w : writers) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(gate[1]);
      char go = 0;
      if (::read(gate[0], &go, 1) < 0) ::_exit(2);  // all start together at EOF
      ResetSessionForTest();
      int failures = 0;
      for (int round = 1; round <= kRounds; ++round) {
        std::string value = w.prefix + std::to_string(round);
        bool ok = entry::QZ_InitialCustomizedSettingTable() == 1 && w.enable("sim0", 1) == 1 &&
                  w.set("sim0", value.c_str()) == 1 &&
                  entry::QZ_UpdateCustomizedSetting("sim0") == 1;
        if (!ok) ++failures;
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
  const Settings s = env_.ReadDevice().settings;
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
