// SameFile and RealPath over links, a missing file and two distinct files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/files.h"

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
