// SameFile and RealPath over links, a missing file and two distinct files; no file left open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/files.h"
#include "platform/open_file.h"

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
