// Files: SameFile and RealPath over links, a missing file and two distinct files, the
// longest chain of links, folders and files made; no file left open; the tries of a wait
// for a lock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/files.h"
#include "platform/open_file.h"

namespace {

mode_t Umask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

}  // namespace

TEST(PlatformFiles, SameFileAndRealPath) {
  char pattern[] = "/tmp/bridgefw-files-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  std::ofstream(dir + "/a") << "a";
  std::ofstream(dir + "/b") << "b";
  ASSERT_EQ(symlink("a", (dir + "/sym").c_str()), 0);
  ASSERT_EQ(link((dir + "/a").c_str(), (dir + "/hard").c_str()), 0);
  struct Row {
    const char* path;
    bool sameAsA;
    const char* real;  // "" when RealPath fails
  } const rows[] = {
      {"sym", true, "a"}, {"hard", true, "hard"}, {"b", false, "b"}, {"none", false, ""}};
  for (const Row& row : rows) {
    const std::string path = dir + "/" + row.path;
    EXPECT_EQ(platform::SameFile(path, dir + "/a"), row.sameAsA) << row.path;
    std::string real;
    std::string error;
    const bool resolved = platform::RealPath(path, &real, &error);
    EXPECT_EQ(resolved ? real : error,
              *row.real != '\0' ? dir + "/" + row.real
                                : "cannot resolve " + path + ": No such file or directory");
  }
  EXPECT_FALSE(platform::SameFile(dir + "/none", dir + "/none"));
  // A chain of 40 links is followed to its end, one longer is not.
  for (int at = 1; at <= 41; ++at) {
    const std::string target = at == 1 ? "a" : "l" + std::to_string(at - 1);
    ASSERT_EQ(symlink(target.c_str(), (dir + "/l" + std::to_string(at)).c_str()), 0);
  }
  EXPECT_EQ(platform::ResolveLinks(dir + "/l40"), dir + "/a");
  EXPECT_EQ(platform::ResolveLinks(dir + "/l41"), dir + "/l1");
  // Folders made on the way; what the tool makes reads as any file (rw-r--r--).
  std::string error;
  ASSERT_TRUE(platform::CreateParentFolders(dir + "/x/y/f", &error)) << error;
  ASSERT_NE(platform::FileLock::Acquire(dir + "/x/y/f", true, &error), nullptr) << error;
  struct stat made {};
  ASSERT_EQ(stat((dir + "/x/y/f").c_str(), &made), 0);
  EXPECT_EQ(made.st_mode & 0777, 0644u & ~static_cast<unsigned>(Umask()));
  ASSERT_EQ(std::system(("rm -r " + dir).c_str()), 0);
}

// Every call closes what it opened, whether it did its work or was refused.
TEST(PlatformFiles, NoCallLeavesAFileOpen) {
  char pattern[] = "/tmp/bridgefw-files-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern, file = dir + "/new";
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  std::string text, why;
  bool missing = false;
  platform::SetLockTimeoutForTest(50);
  const auto held = platform::FileLock::Acquire(dir + "/held", true, &why);
  const std::function<bool()> calls[] = {
      [&] { return platform::CreateNewFile(file, "a", &why); },
      [&] { return !platform::CreateNewFile(file, "a", &why); },
      [&] { return platform::AppendToFile(file, "b", platform::Sync::kToDisk, &why); },
      [&] { return platform::AppendToFile(dir + "/made", "m", platform::Sync::kToDisk, &why); },
      [&] { return platform::ReadFileText(file, &text, &missing, &why) && text == "ab"; },
      [&] { return !platform::ReadFileText(dir, &text, &missing, &why); },
      [&] { return platform::ReplaceFileAtomically(file, "c", &why); },
      [&] {
        return platform::ChangeFileLocked(
            file, [](std::string& t) { return !(t += "d").empty(); }, &why);
      },
      [&] { return !platform::FileLock::Acquire(dir + "/held", true, &why); },
      [&] { return !platform::FileLock::Acquire(dir, true, &why); },
      [&] { return !platform::OpenFile::Open(dir, platform::OpenFor::kRead, &why); },
      [&] { return platform::RenameOver(dir + "/made", dir + "/moved", &why); },
  };
  for (const auto& call : calls) {
    const auto before = openFiles();
    EXPECT_TRUE(call()) << &call - calls << ": " << why;
    EXPECT_EQ(openFiles(), before) << &call - calls;
  }
  EXPECT_TRUE(platform::ReadFileText(file, &text, &missing, &why) && text == "cd");
  platform::SetLockTimeoutForTest(platform::kLockTimeoutMs);
  ASSERT_EQ(std::system(("rm -r " + dir).c_str()), 0);
}

// A try each millisecond for the first 100 ms, then every 10 ms, until the time is
// up; a try done or failed for good ends the wait, and its result is returned.
TEST(PlatformFiles, TriesWithinTheLockTimeout) {
  using platform::Try;
  const struct {
    int timeout;
    std::vector<Try> answers;  // then kAgain
    int tries;
    Try last;
  } rows[] = {{120, {}, 103, Try::kAgain},
              {0, {}, 1, Try::kAgain},
              {120, {Try::kDone}, 1, Try::kDone},
              {120, {Try::kFailed}, 1, Try::kFailed},
              {120, {Try::kAgain, Try::kAgain, Try::kDone}, 3, Try::kDone}};
  for (const auto& row : rows) {
    platform::SetLockTimeoutForTest(row.timeout);
    std::size_t tries = 0;
    const Try last = platform::RetryWithinLockTimeout(
        [&] { return tries < row.answers.size() ? row.answers[tries++] : (++tries, Try::kAgain); });
    EXPECT_EQ(tries, static_cast<std::size_t>(row.tries)) << row.timeout;
    EXPECT_EQ(last, row.last);
  }
  platform::SetLockTimeoutForTest(platform::kLockTimeoutMs);
}
