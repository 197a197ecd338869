// Reliability of the simulated bridge under the real tool: processes writing
// side by side lose none of each other's writes, and a tool killed while it
// programs a large image leaves the device with the old firmware and settings
// or the new ones, never a mix.
//
// The soak runs 8 processes at once: bridgefw once per writing option on the
// first device (the tool only ever uses that one) and bridgesim on the second.
// Each makes BRIDGEFW_SOAK_WRITES writes (default 15, so that the normal run
// stays short; the full soak is 100), e.g.
//   BRIDGEFW_SOAK_WRITES=100 build/bin/bridgefw_e2e --gtest_filter='Reliability*'
// (with the BRIDGEFW_E2E_* variables set as the e2e test sets them).
#include <dirent.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Lines = std::vector<std::string>;
using Fields = std::map<std::string, std::string>;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultSoakWrites = 15;
constexpr int kMaxSoakWrites = 1000;  // the value formats below hold 4 digits

const Fields kDefaultDevice = {
    {"series", "other"},
    {"mode", "2"},
    {"version", "01.02.03.04"},
    {"vid", "3A5C"},
    {"pid", "0101"},
    {"manufacturer", "QZ Sim"},
    {"product", "Sim Bridge"},
    {"serial", "SIM0000000001"},
    {"hdd-vendor", "SIMDISK"},
    {"hdd-product", "VIRTUAL HDD"},
    {"timer", "600"},
    {"manu-prod-ctl", "0"},
    {"inquiry-ctl", "0"},
    {"display-hdd", "0"},
    {"map-hdd", "0"},
    {"sn-from-nvram", "0"},
};

Fields With(Fields fields, const Fields& changes) {
  for (const auto& change : changes) fields[change.first] = change.second;
  return fields;
}

std::string Numbered(const char* format, int number) {
  char text[64];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

std::string WithoutCr(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::string Joined(const Lines& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Under memcheck a run is some 50 times slower: the soak would take minutes
// and reading a 32 MiB image twice takes 20 s. What these tests prove does
// not depend on memcheck, and the tool's memory use on every write and update
// path is checked by the writer and update tests.
bool UnderValgrind() {
  const char* runner = std::getenv("BRIDGEFW_E2E_RUNNER");
  return runner != nullptr && std::strstr(runner, "valgrind") != nullptr;
}

// One soak writer: the option, and the fields its write number N sets.
struct SoakWriter {
  std::string option;
  std::vector<std::pair<std::string, const char*>> fields;  // field, value format over N
};

const SoakWriter kSoakWriters[] = {
    {"-sv", {{"vid", "1%03X"}}},
    {"-sp", {{"pid", "2%03X"}}},
    {"-ss", {{"serial", "SOAK-SN-%04d"}}},
    {"-sm", {{"manufacturer", "Soak Maker %04d"}}},
    {"-si", {{"product", "Soak Disk %04d"}}},
    {"-st", {{"timer", "1%04d"}}},
    {"-sn", {{"hdd-vendor", "SV%04d"}, {"hdd-product", "SOAK HDD %04d"}}},
};

// The control settings the writes raise on their way, by series.
const std::map<std::string, Fields> kSoakControls = {
    {"other", {{"sn-from-nvram", "1"}, {"display-hdd", "1"}, {"map-hdd", "1"}}},
    {"t7", {{"manu-prod-ctl", "1"}, {"inquiry-ctl", "1"}}},
};

// A command and the exact output it must print.
struct Job {
  Lines argv;
  std::string output;
};

const char* const kKillVersion = "09.08.07.06";
constexpr long kKillPayload = 32L * 1024 * 1024;

// Where a kill falls: once programming has read this share of the image, or,
// with afterReading, this many microseconds after it closed the image (while
// it writes the new state).
struct KillPoint {
  double share;
  bool afterReading;
  long microseconds;
};
const KillPoint kKillPoints[] = {
    {0.5, false, 0}, {0.0, true, 0}, {0.0, true, 500}, {0.0, true, 1000}, {0.0, true, 2000},
};

const Lines kImageSettings = {"--vid",          "4B1D",        "--pid",        "0E0F",
                              "--manufacturer", "Kill Maker",  "--product",    "Kill Disk",
                              "--serial",       "KILL0000001", "--hdd-vendor", "KILLV",
                              "--hdd-product",  "KILL HDD",    "--timer",      "42"};
const Lines kUserOptions = {"-v",         "5A5A",  "-p",        "0A0B", "-m",
                            "User Maker", "-i",    "User Disk", "-s",   "USER00001",
                            "-n",         "USERV", "USER HDD",  "-t",   "77"};

class ReliabilityTest : public ToolTest {
 protected:
  static int SoakWrites() {
    const char* text = std::getenv("BRIDGEFW_SOAK_WRITES");
    if (text == nullptr || *text == '\0') return kDefaultSoakWrites;
    const int writes = std::atoi(text);
    if (!AllDigits(text) || writes < 1 || writes > kMaxSoakWrites) {
      ADD_FAILURE() << "BRIDGEFW_SOAK_WRITES must be 1 to " << kMaxSoakWrites << ", not " << text;
      return kDefaultSoakWrites;
    }
    return writes;
  }

  std::string SimGet(int device, const std::string& field) {
    return WithoutCr(Sim({"get", "--device", std::to_string(device), field}));
  }

  void ExpectDevice(int device, const Fields& expected) {
    for (const auto& field : expected) {
      EXPECT_EQ(SimGet(device, field.first), field.second + "\n")
          << "device " << device << " " << field.first;
    }
  }

  // Names in the test folder that belong to the state file, apart from the
  // state file and its lock file.
  Lines StrayStateFiles() {
    Lines names;
    DIR* dir = opendir(Dir().c_str());
    if (dir == nullptr) return {"cannot list " + Dir()};
    for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.rfind("state.json", 0) == 0 && name != "state.json" && name != "state.json.lock") {
        names.push_back(name);
      }
    }
    closedir(dir);
    return names;
  }

  // Runs each queue's jobs one after the other, all queues at once; fails
  // (after killing what still runs) rather than waiting past `limit`.
  void RunSideBySide(const std::vector<std::vector<Job>>& queues, std::chrono::seconds limit);

  void Soak(const std::string& series);

  // Returns the state file's text and `bridgesim show` for the device as it is.
  std::pair<std::string, std::string> Snapshot() {
    return {ReadFile(Path("state.json")), Sim({"show"})};
  }

  void KillMidProgramming(const std::string& series, const Lines& args, const std::string& image,
                          const std::string& finishedOutput);

  // A tool run that may have been killed: whether it ended by itself first.
  struct Watched {
    pid_t pid = -1;
    bool finished = false;
    std::string output;
  };
  // Runs the tool with `args` and, once its trace has `armedLines` lines
  // (it has come to programming `image`), kills it at `point` unless it ends
  // first.
  Watched Watch(const Lines& args, std::size_t armedLines, const std::string& image,
                const KillPoint& point);
};

void ReliabilityTest::RunSideBySide(const std::vector<std::vector<Job>>& queues,
                                    std::chrono::seconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  std::vector<std::size_t> next(queues.size(), 0);
  std::map<pid_t, std::size_t> running;  // process -> its queue
  auto outPath = [this](std::size_t queue) {
    return Path("soak" + std::to_string(queue) + ".out");
  };
  auto errPath = [this](std::size_t queue) {
    return Path("soak" + std::to_string(queue) + ".err");
  };
  auto startNext = [&](std::size_t queue) {
    if (next[queue] >= queues[queue].size()) return;
    const pid_t pid = Start(queues[queue][next[queue]].argv, outPath(queue), errPath(queue));
    if (pid > 0) running[pid] = queue;
  };
  for (std::size_t queue = 0; queue < queues.size(); ++queue) startNext(queue);

  int wrong = 0;
  while (!running.empty()) {
    if (Clock::now() > deadline) {
      for (const auto& process : running) kill(process.first, SIGKILL);
      for (const auto& process : running) waitpid(process.first, nullptr, 0);
      ADD_FAILURE() << running.size() << " processes still ran after " << limit.count() << " s";
      return;
    }
    int status = 0;
    const pid_t pid = waitpid(-1, &status, WNOHANG);
    if (pid == 0) {
      usleep(1000);
      continue;
    }
    if (pid < 0) {
      ADD_FAILURE() << "waitpid: " << std::strerror(errno);
      return;
    }
    const auto found = running.find(pid);
    if (found == running.end()) continue;
    const std::size_t queue = found->second;
    running.erase(found);
    const Job& job = queues[queue][next[queue]];
    const std::string output = WithoutCr(ReadFile(outPath(queue)));
    const std::string errors = ReadFile(errPath(queue));
    const bool exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    // Under wine, wine itself may write notes to standard error.
    if (!exited || output != job.output || (!UnderWine() && !errors.empty())) {
      if (++wrong <= 5) {
        ADD_FAILURE() << Joined(job.argv) << ": wait status " << status << ", output \"" << output
                      << "\", errors \"" << errors << "\"";
      }
    }
    ++next[queue];
    startNext(queue);
  }
  EXPECT_EQ(wrong, 0) << "runs that failed or printed something else";
}

void ReliabilityTest::Soak(const std::string& series) {
  if (UnderValgrind()) GTEST_SKIP() << "too slow under memcheck, and proves nothing more there";
  const int writes = SoakWrites();
  Sim({"reset"});
  Sim({"set", "series", series});
  const std::string otherSeries = series == "t7" ? "other" : "t7";
  EXPECT_EQ(Sim({"add", "--series", otherSeries}), "sim1\n");

  std::vector<std::vector<Job>> queues;
  Fields first = With(With(kDefaultDevice, {{"series", series}}), kSoakControls.at(series));
  for (const SoakWriter& writer : kSoakWriters) {
    std::vector<Job> jobs;
    for (int n = 0; n < writes; ++n) {
      Lines args = {writer.option};
      for (const auto& field : writer.fields) args.push_back(Numbered(field.second, n));
      // -st is the one writer that prints: the value, before it writes.
      const std::string output = writer.option == "-st" ? "standby Timer " + args[1] + "\n" : "";
      jobs.push_back({ToolCommand(args), output});
    }
    for (const auto& field : writer.fields) first[field.first] = Numbered(field.second, writes - 1);
    queues.push_back(jobs);
  }
  std::vector<Job> secondJobs;
  for (int n = 0; n < writes; ++n) {
    secondJobs.push_back(
        {SimCommand({"set", "--device", "1", "serial", Numbered("DEV1-%04d", n)}), ""});
  }
  queues.push_back(secondJobs);
  const Fields second = With(
      kDefaultDevice, {{"series", otherSeries}, {"serial", Numbered("DEV1-%04d", writes - 1)}});

  // A generous bound that only a hang reaches: a second for every run.
  const int runs = static_cast<int>(queues.size()) * writes;
  RunSideBySide(queues, std::chrono::seconds(120 + runs));
  if (HasFailure()) return;

  // Every library call of every run succeeded (a failed write prints
  // nothing), every commit is there, and no trace line of one process broke
  // into another's or was lost.
  const std::string series7Answer = series == "t7" ? " = 1" : " = 0";
  int runsSeen = 0;
  int commits = 0;
  int failedCalls = 0;
  for (const std::string& line : Trace()) {
    const bool asksSeries = line.rfind("QZ_IsQZT7Series(", 0) == 0;
    const std::string expectedEnd = asksSeries ? series7Answer : " = 1";
    const bool wellFormed = line.rfind("QZ_", 0) == 0 && line.size() > expectedEnd.size();
    if (!wellFormed ||
        line.compare(line.size() - expectedEnd.size(), std::string::npos, expectedEnd) != 0) {
      if (++failedCalls <= 5) ADD_FAILURE() << "trace line: " << line;
    }
    runsSeen += line.rfind("QZ_GetDeviceList(", 0) == 0 ? 1 : 0;
    commits += line.rfind("QZ_UpdateCustomizedSetting(", 0) == 0 ||
                       line.rfind("QZ_UpdateT7StandbyTimer(", 0) == 0
                   ? 1
                   : 0;
  }
  const int toolRuns = static_cast<int>(std::size(kSoakWriters)) * writes;
  EXPECT_EQ(failedCalls, 0);
  EXPECT_EQ(runsSeen, toolRuns);
  EXPECT_EQ(commits, toolRuns);

  // The last write of every process is there, seen by the tool and by the
  // control command, and the state file is one the simulator reads.
  EXPECT_EQ(Run({"-ged"}).output, "VID: 0x" + first["vid"] + "\n" + "PID: 0x" + first["pid"] +
                                      "\n" + "Manufacturer string : " + first["manufacturer"] +
                                      "\n" + "Product string : " + first["product"] + "\n" +
                                      "Serial number: " + first["serial"] + "\n" + "HDD String: " +
                                      first["hdd-vendor"] + " " + first["hdd-product"] + "\n" +
                                      "Standby Timer : " + first["timer"] + " (sec)\n");
  ExpectDevice(0, first);
  ExpectDevice(1, second);
  EXPECT_EQ(StrayStateFiles(), Lines{});
}

TEST_F(ReliabilityTest, SoakOfProcessesWritingSideBySideLosesNoWriteOtherSeries) { Soak("other"); }

TEST_F(ReliabilityTest, SoakOfProcessesWritingSideBySideLosesNoWriteT7Series) { Soak("t7"); }

void ReliabilityTest::KillMidProgramming(const std::string& series, const Lines& args,
                                         const std::string& image,
                                         const std::string& finishedOutput) {
  const std::string where = series + " " + args[0];
  auto resetDevice = [&] {
    Sim({"reset"});
    Sim({"set", "series", series});
  };

  // A run to the end gives the new device, and how many calls come before
  // the programming call.
  resetDevice();
  const auto before = Snapshot();
  ClearTrace();
  EXPECT_EQ(Run(args).output, finishedOutput) << where;
  const auto after = Snapshot();
  EXPECT_NE(after.second.find("firmware: " + std::to_string(kKillPayload) + " bytes"),
            std::string::npos)
      << after.second;
  EXPECT_EQ(SimGet(0, "version"), std::string(kKillVersion) + "\n");
  // Every setting changes, so a mix of old and new could not pass as either.
  for (const char* field :
       {"vid", "pid", "manufacturer", "product", "serial", "hdd-vendor", "hdd-product", "timer"}) {
    EXPECT_NE(SimGet(0, field), kDefaultDevice.at(field) + "\n") << where << " " << field;
  }
  const Lines trace = Trace();
  std::size_t callsBefore = 0;
  while (callsBefore < trace.size() && trace[callsBefore].rfind("QZ_FWUpdateProgramming", 0) != 0) {
    ++callsBefore;
  }
  ASSERT_LT(callsBefore, trace.size()) << where << ": no programming call";
  if (HasFailure()) return;

  int old = 0;
  int killed = 0;
  int leftTemporary = 0;
  for (const KillPoint& point : kKillPoints) {
    std::ostringstream when;
    when << where << " killed " << (point.afterReading ? point.microseconds : point.share)
         << (point.afterReading ? " us after reading the image" : " of the way through it");
    resetDevice();
    ClearTrace();
    const Watched run = Watch(args, callsBefore, image, point);
    if (HasFailure()) return;
    const auto now = Snapshot();
    const bool isOld = now == before;
    EXPECT_TRUE(isOld || now == after) << when.str() << ":\n" << now.second;
    old += isOld ? 1 : 0;
    killed += run.finished ? 0 : 1;
    if (run.finished) {
      EXPECT_FALSE(isOld) << when.str();
      EXPECT_EQ(run.output, finishedOutput) << when.str();
    }
    // A writer killed between writing its temporary file and renaming it
    // leaves that file, named after its process, behind.
    for (const std::string& name : StrayStateFiles()) {
      const std::string suffix = name.substr(std::strlen("state.json"));
      const bool leftByTheKill =
          !run.finished && suffix.rfind(".tmp.", 0) == 0 &&
          (UnderWine() ? AllDigits(suffix.substr(5)) : suffix.substr(5) == std::to_string(run.pid));
      EXPECT_TRUE(leftByTheKill) << when.str() << ": " << name;
      ++leftTemporary;
      std::remove(Path(name).c_str());
    }
  }
  // Which outcomes the kills met depends on the machine; each was checked.
  std::printf(
      "[ kills    ] %s: %d of %d runs killed: %d left the old device (%d with a stray "
      "temporary file), %d the new one\n",
      where.c_str(), killed, static_cast<int>(std::size(kKillPoints)), old, leftTemporary,
      killed - old);
}

// How far the process has read `image` (a resolved path): -1 while it does
// not have it open.
long long ReadPosition(pid_t pid, const std::string& image) {
  const std::string process = "/proc/" + std::to_string(pid);
  DIR* dir = opendir((process + "/fd").c_str());
  if (dir == nullptr) return -1;
  long long position = -1;
  for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
    const std::string fd = entry->d_name;
    char target[4096];
    const ssize_t size = readlink((process + "/fd/" + fd).c_str(), target, sizeof target - 1);
    if (size <= 0 || std::string(target, static_cast<std::size_t>(size)) != image) continue;
    std::ifstream info(process + "/fdinfo/" + fd);
    std::string key;
    long long value = 0;
    while (info >> key >> value) {
      if (key != "pos:") continue;
      position = std::max(position, value);
      break;
    }
  }
  closedir(dir);
  return position;
}

ReliabilityTest::Watched ReliabilityTest::Watch(const Lines& args, std::size_t armedLines,
                                                const std::string& image, const KillPoint& point) {
  Watched run;
  run.pid = Start(ToolCommand(args), Path("watched.out"), Path("watched.err"));
  if (run.pid <= 0) return run;
  char resolved[PATH_MAX] = {};
  struct stat imageStat = {};
  EXPECT_TRUE(realpath(image.c_str(), resolved) != nullptr && stat(resolved, &imageStat) == 0)
      << image;
  const std::string imagePath = resolved;
  const double imageSize = static_cast<double>(imageStat.st_size);
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(300);
  bool armed = false;
  bool opened = false;
  Clock::time_point closedAt = Clock::time_point::max();
  int status = 0;
  for (;;) {
    if (waitpid(run.pid, &status, WNOHANG) == run.pid) {
      run.finished = true;
      break;
    }
    const Clock::time_point now = Clock::now();
    armed = armed || Trace().size() >= armedLines;
    const long long position = armed ? ReadPosition(run.pid, imagePath) : -1;
    opened = opened || position >= 0;
    if (opened && position < 0 && closedAt == Clock::time_point::max()) closedAt = now;
    const bool due = point.afterReading
                         ? now - closedAt >= std::chrono::microseconds(point.microseconds)
                         : opened && (position < 0 || position >= point.share * imageSize);
    if (due || now >= deadline) {
      kill(run.pid, SIGKILL);
      waitpid(run.pid, &status, 0);
      EXPECT_LT(now, deadline) << Joined(args) << " ran for 300 s";
      break;
    }
    usleep(100);
  }
  run.output = WithoutCr(ReadFile(Path("watched.out")));
  if (run.finished) {
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Joined(args);
    if (!UnderWine()) {
      EXPECT_EQ(ReadFile(Path("watched.err")), "") << Joined(args);
    }
  }
  return run;
}

TEST_F(ReliabilityTest, KillDuringProgrammingLeavesTheOldOrTheNewDeviceNeverAMix) {
  if (UnderValgrind()) GTEST_SKIP() << "too slow under memcheck, and proves nothing more there";
  const struct {
    std::string series;
    bool withSettings;  // -ue with settings of its own, else -ub
  } cases[] = {{"other", false}, {"t7", true}};
  for (const auto& c : cases) {
    const std::string image = Path("big-" + c.series + ".bin");
    Lines imageArgs = {"--out",     image,        "--series",       c.series,
                       "--version", kKillVersion, "--payload-size", std::to_string(kKillPayload)};
    imageArgs.insert(imageArgs.end(), kImageSettings.begin(), kImageSettings.end());
    MakeImage(imageArgs);
    if (c.withSettings) {
      Lines ue = {"-ue", "-f", image};
      ue.insert(ue.end(), kUserOptions.begin(), kUserOptions.end());
      KillMidProgramming(c.series, ue, image, "");
    } else {
      KillMidProgramming(c.series, {"-ub", image}, image, "Update result: 1.\n");
    }
    std::remove(image.c_str());
  }
}

}  // namespace
