// The line's record: refusals, lines appended whole, and the index of
// passing serials after every way the record can change under it.
#include "line/record.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "line/record_lines.h"
#include "line/serial_table.h"
#include "platform/files.h"

namespace {

using Serials = std::set<std::string>;

std::string Pass(const std::string& serial) {
  return R"({"serial":")" + serial + R"(","result":"pass","seconds":0.1})";
}

std::string Read(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Runs `run` in a forked child (with its own limits and user).
pid_t Fork(const std::function<bool()>& run) {
  const pid_t pid = fork();
  if (pid == 0) _exit(run() ? 0 : 1);
  return pid;
}

bool Succeeded(pid_t pid) {
  int status = -1;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/bridgefw-record-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
    record_ = dir_ + "r.jsonl";
  }
  void TearDown() override {
    line::SetSerialHashForTest(nullptr);
    platform::SetLockTimeoutForTest(platform::kLockTimeoutMs);
    EXPECT_EQ(std::system(("rm -rf " + dir_).c_str()), 0);
  }
  bool Append(const std::string& text, const std::string& serial = "") {
    std::string why;
    return line::AppendRecordLine(record_, text, serial, &ended_, &why);
  }
  Serials PassedOf(const Serials& serials) {
    Serials passed;
    for (const std::string& serial : serials) {
      bool was = false;
      std::string why;
      EXPECT_TRUE(line::SerialPassedBefore(record_, serial, &was, &why)) << why;
      if (was) passed.insert(serial);
    }
    return passed;
  }
  // Whether PassedOf made the index anew (the old file held by a link meanwhile).
  bool Remakes(const Serials& serials, const Serials& passed) {
    const std::string index = record_ + ".serials", held = dir_ + "index.held";
    EXPECT_EQ(link(index.c_str(), held.c_str()), 0);
    EXPECT_EQ(PassedOf(serials), passed);
    struct stat now = {}, old = {};
    const bool remade =
        stat(index.c_str(), &now) == 0 && stat(held.c_str(), &old) == 0 && now.st_ino != old.st_ino;
    std::remove(held.c_str());
    return remade;
  }
  std::string dir_, record_;
  bool ended_ = false;
};

TEST_F(RecordTest, CheckRefusesWhatCannotTakeLines) {
  ASSERT_EQ(mkfifo((dir_ + "fifo").c_str(), 0644), 0);
  std::ofstream(dir_ + "read-only") << "{}\n";
  ASSERT_EQ(chmod((dir_ + "read-only").c_str(), 0444) | chmod(dir_.c_str(), 0755), 0);
  std::string why;
  const auto held = platform::FileLock::Acquire(dir_ + "held.lock", true, &why);
  platform::SetLockTimeoutForTest(50);
  const struct {
    std::string path, why;
  } cases[] = {{"", "no record file named"},
               {dir_ + "no/r.jsonl", "No such file or directory"},
               {dir_, "Is a directory"},
               {dir_ + "fifo", "is not a regular file"},
               {"/dev/null", "is not a regular file"},
               {"/dev/stdout", "/dev/stdout is where the tool's own output goes"},
               {dir_ + "read-only", "Permission denied"},
               {dir_ + "held", "held.lock was not granted within 50 ms"}};
  for (const auto& c : cases) {
    // The output in a file; a read-only file as an ordinary user (root may write it).
    EXPECT_TRUE(Succeeded(Fork([&] {
      std::string reason;
      const int out = open((dir_ + "out").c_str(), O_WRONLY | O_CREAT, 0666);
      return dup2(out, 1) == 1 && (c.path != dir_ + "read-only" || setuid(65534) == 0) &&
             !line::CheckRecordAppendable(c.path, &reason) &&
             reason.find(c.why) != std::string::npos;
    }))) << c.path;
  }
  EXPECT_TRUE(line::CheckRecordAppendable(record_, &why)) << why;
  EXPECT_EQ(Read(record_), "");
  EXPECT_FALSE(Remakes({"S1"}, {}));  // the index of an empty record is kept too
  // A lookup in what cannot be read fails; in a missing record it finds nothing, makes nothing.
  bool was = true;
  EXPECT_FALSE(line::SerialPassedBefore(dir_, "S1", &was, &why));
  EXPECT_TRUE(line::SerialPassedBefore(dir_ + "none", "S1", &was, &why) && !was);
  EXPECT_FALSE(std::ifstream(dir_ + "none.lock"));
}

TEST_F(RecordTest, LastLineWithoutLineEndIsEndedFirst) {
  const std::string torn = R"({"result":"pa)", notepad = Pass("N1") + "\r\n" + Pass("N2");
  for (const std::string& tail : {torn, notepad}) {
    std::ofstream(record_, std::ios::binary) << tail;
    EXPECT_TRUE(Append(Pass("S1"), "S1") && ended_);
    EXPECT_TRUE(Append(Pass("S2"), "S2") && !ended_);
    EXPECT_EQ(Read(record_), tail + "\n" + Pass("S1") + "\n" + Pass("S2") + "\n");
  }
  EXPECT_EQ(PassedOf({"N1", "N2", "S1", "S2", "pa"}), Serials({"N1", "N2", "S1", "S2"}));
}

TEST_F(RecordTest, FailedAppendIsCutBack) {
  ASSERT_TRUE(Append(Pass("S1"), "S1"));
  const std::string before = Read(record_);
  // A full disk: the line's first bytes are written, then the write fails.
  EXPECT_TRUE(Succeeded(Fork([&] {
    const rlimit limit = {before.size() + 10, before.size() + 10};
    std::string why;
    return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
           !line::AppendRecordLine(record_, Pass("S2"), "S2", &ended_, &why) &&
           why.find("File too large") != std::string::npos;
  })));
  EXPECT_EQ(Read(record_), before);
  EXPECT_EQ(PassedOf({"S1", "S2"}), Serials({"S1"}));
}

TEST_F(RecordTest, IndexFollowsEveryChangeOfTheRecord) {
  ASSERT_TRUE(Append(R"({"result":"fail","serial":"F1"})"));
  ASSERT_TRUE(Append(R"({"result":"pass","serial":"D1","dry_run":true})"));
  ASSERT_TRUE(Append(Pass("S1"), "S1"));
  const off_t withS1 = static_cast<off_t>(Read(record_).size());
  const std::string index = record_ + ".serials";
  EXPECT_FALSE(Remakes({"S1", "D1"}, {"S1"}));  // a current index is kept
  const Serials asked = {"S1", "S2", "S3", "F1", "D1", "N1", "G0", "G599", "L1", "L2"};
  const Serials all = {"S1", "S2", "G0", "G599", "L1"};
  // Another appender, without the index: 603 more passing lines, one of them longer
  // than a read and one too long to be ours, one not JSON, one passing only deeper down.
  const auto padded = [](const char* serial, std::size_t pad) {
    return R"({"result":"pass","pad":")" + std::string(pad, ' ') + R"(","serial":")" + serial +
           "\"}\n";
  };
  std::string more = padded("L1", 100000) + padded("L2", line::kMaxRecordLine) + Pass("S2") +
                     "\nnot json\n" +
                     R"({"result":"fail","after":{"result":"pass"},"serial":"N1"})" + "\n";
  for (int i = 0; i < 600; ++i) more += Pass("G" + std::to_string(i)) + "\n";
  ASSERT_TRUE(platform::AppendToFile(record_, more));
  EXPECT_EQ(PassedOf(asked), all);
  EXPECT_EQ(Read(index).size(), 48u + 2048 * 16);  // grown when half full
  // Any field of the header wrong (its check made to match): made anew.
  const std::string sound = Read(index);
  const struct {
    std::size_t at;
    uint64_t value;
    std::size_t size;  // of the damaged file
  } damages[] = {{0, 0, sound.size()},      {8, 1024, sound.size()},
                 {8, 1536, 48 + 1536 * 16}, {8, 4096, sound.size()},
                 {16, 1025, sound.size()},  {24, Read(record_).size() + 1, sound.size()},
                 {32, 0, sound.size()},     {40, 0, sound.size()},
                 {48, 0, sound.size() - 16}};
  for (const auto& d : damages) {
    std::string damaged = sound.substr(0, d.size);
    std::memcpy(&damaged[d.at], &d.value, sizeof d.value);
    const uint64_t check = line::Hash64(damaged.data(), 40);
    if (d.at < 40) std::memcpy(&damaged[40], &check, sizeof check);
    std::ofstream(index, std::ios::binary) << damaged;
    EXPECT_TRUE(Remakes(asked, all)) << d.at;
  }
  ASSERT_EQ(std::remove(index.c_str()), 0);
  std::ofstream(index + ".tmp.1") << "left by a killed writer";
  EXPECT_EQ(PassedOf(asked), all);
  EXPECT_FALSE(std::ifstream(index + ".tmp.1"));
  ASSERT_EQ(truncate(record_.c_str(), withS1), 0);
  ASSERT_TRUE(platform::AppendToFile(record_, Pass("S3") + "\n"));
  EXPECT_EQ(PassedOf(asked), Serials({"S1", "S3"}));
}

TEST_F(RecordTest, HashCollisionsAreConfirmedByTheLine) {
  line::SetSerialHashForTest([](const std::string&) -> uint64_t { return 7; });
  ASSERT_TRUE(Append(Pass("C1"), "C1"));
  EXPECT_EQ(PassedOf({"C1", "C2"}), Serials({"C1"}));
  ASSERT_TRUE(Append(Pass("C2"), "C2"));
  EXPECT_EQ(PassedOf({"C1", "C2", "C3"}), Serials({"C1", "C2"}));
}

// Entries at the table's first and last slots, and a walk wrapping past its end,
// outlive the table's growth.
TEST_F(RecordTest, GrowthKeepsEveryEntry) {
  line::SetSerialHashForTest(
      [](const std::string& serial) -> uint64_t { return std::stoull(serial); });
  std::string lines = Pass("1024") + "\n" + Pass("1023") + "\n" + Pass("2047") + "\n";
  for (int n = 1; n <= 600; ++n) lines += Pass(std::to_string(n)) + "\n";
  ASSERT_TRUE(platform::AppendToFile(record_, lines));
  EXPECT_EQ(PassedOf({"1024", "1023", "2047", "3071", "1", "600", "601"}),
            Serials({"1024", "1023", "2047", "1", "600"}));
}

TEST_F(RecordTest, ConcurrentAppendersWriteWholeLinesAndIndexThem) {
  std::vector<pid_t> children;
  for (int p = 0; p < 4; ++p) {
    children.push_back(Fork([&] {
      bool ok = true;
      for (int n = p * 50; n < p * 50 + 50; ++n)
        ok = ok && Append(Pass(std::to_string(n)), std::to_string(n));
      return ok;
    }));
  }
  Serials serials, lines, expected;
  for (const pid_t pid : children) EXPECT_TRUE(Succeeded(pid));
  for (int n = 0; n < 200; ++n) serials.insert(std::to_string(n));
  std::istringstream text(Read(record_));
  for (std::string line; std::getline(text, line);) lines.insert(line);
  for (const std::string& serial : serials) expected.insert(Pass(serial));
  EXPECT_EQ(lines, expected);
  // Each appender indexed its line: the index (used, covered) spans the record already.
  const std::string index = Read(record_ + ".serials");
  uint64_t header[2] = {};
  std::memcpy(header, index.data() + 16, sizeof header);
  EXPECT_EQ(header[0], 200u);
  EXPECT_EQ(header[1], Read(record_).size());
  EXPECT_EQ(PassedOf(serials), serials);
}

}  // namespace
