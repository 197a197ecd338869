// Processes writing side by side lose none of each other's writes, and a tool
// killed while it programs a large image leaves the old device or the new one,
// never a mix. BRIDGEFW_SOAK_WRITES sets the writes per process (default 15;
// the full soak is 100).
#include <dirent.h>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

std::string Numbered(const std::string& format, int number) {
  char text[64];
  std::snprintf(text, sizeof text, format.c_str(), number);
  return text;
}

std::string WithoutCr(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// Under memcheck these runs take minutes and prove nothing more.
bool UnderValgrind() {
  const char* runner = std::getenv("BRIDGEFW_E2E_RUNNER");
  return runner != nullptr && std::strstr(runner, "valgrind") != nullptr;
}

class ReliabilityTest : public ToolTest {
 protected:
  // Leftovers of the state file's writers, beside the state and lock files.
  Lines StrayStateFiles() {
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(Dir())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("state.json", 0) == 0 && name != "state.json" && name != "state.json.lock") {
        names.push_back(name);
      }
    }
    return names;
  }
  std::pair<std::string, std::string> Snapshot() {
    return {ReadFile(Path("state.json")), Sim({"show"})};
  }
};

// Seven tool processes, one per writing option, on the first device and one
// bridgesim on the second, each writing its numbered values one after another.
TEST_F(ReliabilityTest, SoakOfProcessesWritingSideBySideLosesNoWrite) {
  if (UnderValgrind()) GTEST_SKIP() << "too slow under memcheck";
  const char* writesText = std::getenv("BRIDGEFW_SOAK_WRITES");
  const int writes = writesText != nullptr ? std::clamp(std::atoi(writesText), 1, 1000) : 15;
  const std::vector<std::pair<std::string, Lines>> writers = {
      {"-sv", {"vid", "1%03X"}},
      {"-sp", {"pid", "2%03X"}},
      {"-ss", {"serial", "SOAK-SN-%04d"}},
      {"-sm", {"manufacturer", "Soak Maker %04d"}},
      {"-si", {"product", "Soak Disk %04d"}},
      {"-st", {"timer", "1%04d"}},
      {"-sn", {"hdd-vendor", "SV%04d", "hdd-product", "SOAK HDD %04d"}},
      {"", {"serial", "DEV1-%04d"}},  // bridgesim on the second device
  };
  for (const std::string series : {"other", "t7"}) {
    Fresh(series);
    EXPECT_EQ(Sim({"add", "--series", series == "t7" ? "other" : "t7"}), "sim1\n");
    std::vector<pid_t> processes;
    Lines outputs;
    for (size_t w = 0; w < writers.size(); ++w) {
      const auto& [option, fields] = writers[w];
      std::string script, output;
      for (int n = 0; n < writes; ++n) {
        Lines args = option.empty() ? Lines{"set", "--device", "1", fields[0]} : Lines{option};
        for (size_t f = 1; f < fields.size(); f += 2) args.push_back(Numbered(fields[f], n));
        for (const std::string& word : option.empty() ? SimCommand(args) : ToolCommand(args)) {
          script += "'" + word + "' ";  // no quotes in these words
        }
        script += "|| echo \"exit $?\"\n";
        if (option == "-st") output += "standby Timer " + args[1] + "\n";
      }
      const std::string name = Path("soak" + std::to_string(w));
      processes.push_back(Start({"/bin/sh", "-c", script}, name + ".out", name + ".err"));
      outputs.push_back(output);
    }
    for (size_t w = 0; w < processes.size(); ++w) {
      int status = 0;
      waitpid(processes[w], &status, 0);
      const std::string name = Path("soak" + std::to_string(w));
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << writers[w].first;
      EXPECT_EQ(WithoutCr(ReadFile(name + ".out")), outputs[w]) << series << writers[w].first;
      EXPECT_TRUE(UnderWine() || ReadFile(name + ".err").empty()) << writers[w].first;
    }
    // Every call of every run succeeded, every commit is there, and no trace
    // line was lost or broken into another's.
    int runs = 0, commits = 0, wrong = 0;
    for (const std::string& line : Trace()) {
      const bool asksSeries = line.rfind("QZ_IsQZT7Series(", 0) == 0;
      const std::string end = asksSeries && series == "other" ? " = 0" : " = 1";
      const bool good = line.rfind("QZ_", 0) == 0 && line.size() > end.size() &&
                        line.compare(line.size() - end.size(), end.size(), end) == 0;
      if (!good && ++wrong <= 5) ADD_FAILURE() << "trace line: " << line;
      runs += line.rfind("QZ_GetDeviceList(", 0) == 0;
      commits += line.rfind("QZ_UpdateCustomizedSetting(", 0) == 0 ||
                 line.rfind("QZ_UpdateT7StandbyTimer(", 0) == 0;
    }
    EXPECT_EQ(runs, 7 * writes) << series;
    EXPECT_EQ(commits, 7 * writes) << series;
    // The last write of every process is there, and the state file is sound.
    for (const auto& [option, fields] : writers) {
      for (size_t f = 0; f < fields.size(); f += 2) {
        EXPECT_EQ(SimGet(fields[f], option.empty() ? 1 : 0), Numbered(fields[f + 1], writes - 1))
            << series << " " << fields[f];
      }
    }
    EXPECT_EQ(StrayStateFiles(), Lines{});
  }
}

// How far the process has read `image`: -1 while it does not have it open.
long long ReadPosition(pid_t pid, const std::string& image) {
  const std::string process = "/proc/" + std::to_string(pid);
  DIR* dir = opendir((process + "/fd").c_str());
  if (dir == nullptr) return -1;
  long long position = -1;
  for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
    const std::string fd = entry->d_name;
    char target[PATH_MAX];
    const ssize_t size = readlink((process + "/fd/" + fd).c_str(), target, sizeof target - 1);
    if (size <= 0 || std::string(target, static_cast<size_t>(size)) != image) continue;
    std::ifstream info(process + "/fdinfo/" + fd);
    std::string key;
    long long value = 0;
    while (info >> key >> value && key != "pos:") {
    }
    if (key == "pos:") position = std::max(position, value);
  }
  closedir(dir);
  return position;
}

// Kills fall once programming has read half the image, or (share < 0) so long
// after it closed the image, while the new state is written.
TEST_F(ReliabilityTest, KillDuringProgrammingLeavesTheOldOrTheNewDeviceNeverAMix) {
  if (UnderValgrind()) GTEST_SKIP() << "too slow under memcheck";
  const struct {
    double share;
    long microseconds;
  } kills[] = {{0.5, 0}, {-1, 0}, {-1, 500}, {-1, 1000}, {-1, 2000}};
  const std::string image = Path("big.bin");
  const struct {
    std::string series;
    Lines args;
    std::string finishedOutput;
  } cases[] = {
      {"other", {"-ub", image}, "Update result: 1.\n"},
      {"t7",  // -ue with settings of its own
       {"-ue", "-f", image, "-v", "5A5A", "-p", "0A0B", "-m", "User Maker", "-i", "User Disk", "-s",
        "USER00001", "-n", "USERV", "USER HDD", "-t", "77"},
       ""},
  };
  for (const auto& [series, args, finishedOutput] : cases) {
    MakeImage({"--out",          image,         "--series",       series,
               "--version",      "09.08.07.06", "--payload-size", std::to_string(32L * 1024 * 1024),
               "--vid",          "4B1D",        "--pid",          "0E0F",
               "--manufacturer", "Kill Maker",  "--product",      "Kill Disk",
               "--serial",       "KILL0000001", "--hdd-vendor",   "KILLV",
               "--hdd-product",  "KILL HDD",    "--timer",        "42"});
    // A run to the end: the new device, and the calls before programming.
    Fresh(series);
    const auto before = Snapshot();
    EXPECT_EQ(Run(args).output, finishedOutput) << series;
    const auto after = Snapshot();
    EXPECT_EQ(SimGet("version"), "09.08.07.06");
    const Lines trace = Trace();
    size_t callsBefore = 0;
    while (callsBefore < trace.size() &&
           trace[callsBefore].rfind("QZ_FWUpdateProgramming", 0) != 0) {
      ++callsBefore;
    }
    ASSERT_LT(callsBefore, trace.size()) << "no programming call";
    const std::string resolved = std::filesystem::canonical(image).string();
    const double imageSize = static_cast<double>(std::filesystem::file_size(resolved));

    for (const auto& point : kills) {
      const std::string when = series + " " + args[0] + " killed at " +
                               std::to_string(point.share) + "/" +
                               std::to_string(point.microseconds) + " us";
      Fresh(series);
      const pid_t pid = Start(ToolCommand(args), Path("watched.out"), Path("watched.err"));
      ASSERT_GT(pid, 0);
      bool finished = false, opened = false;
      Clock::time_point closedAt = Clock::time_point::max();
      int status = 0;
      while (!(finished = waitpid(pid, &status, WNOHANG) == pid)) {
        const long long position = Trace().size() >= callsBefore ? ReadPosition(pid, resolved) : -1;
        opened = opened || position >= 0;
        if (opened && position < 0 && closedAt == Clock::time_point::max()) closedAt = Clock::now();
        if (point.share < 0
                ? Clock::now() - closedAt >= std::chrono::microseconds(point.microseconds)
                : opened && (position < 0 || position >= point.share * imageSize)) {
          kill(pid, SIGKILL);
          waitpid(pid, &status, 0);
          break;
        }
        usleep(100);
      }
      const auto now = Snapshot();
      EXPECT_TRUE(now == before || now == after) << when << ":\n" << now.second;
      if (finished) {
        EXPECT_EQ(now, after) << when;
        EXPECT_EQ(WithoutCr(ReadFile(Path("watched.out"))), finishedOutput) << when;
      }
      // A writer killed between writing its temporary file and renaming it
      // leaves that file behind.
      for (const std::string& name : StrayStateFiles()) {
        EXPECT_TRUE(!finished && name.rfind("state.json.tmp.", 0) == 0) << when << ": " << name;
        std::remove(Path(name).c_str());
      }
    }
  }
}

}  // namespace
