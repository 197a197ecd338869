// The firmware version query: running-code modes, the version read and its
// failure, an over-long version text, the device guard.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ops/operations.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

class FWVersionTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

TEST_F(FWVersionTest, TheRunningCodeModeDecidesTheRead) {
  const std::string mode = "QZ_GetRunningCodeMode(\"dev0\", out)";
  const std::string version = "QZ_GetFWVersion(\"dev0\", out)";
  const struct {
    int32_t mode;
    int32_t modeResult;
    int32_t versionResult;  // 0: the read fails
    int32_t result;
    const char* text;
    std::vector<std::string> calls;
  } cases[] = {
      {0, 1, 1, 0, "", {mode}},
      {1, 1, 1, 1, "Internal code", {mode}},
      {2, 1, 1, 1, "01.02.03.04", {mode, version}},
      {3, 1, 1, 0, "", {mode}},
      {2, 0, 1, 1, "01.02.03.04", {mode, version}},  // only the mode written counts
      {2, 1, -7, 1, "01.02.03.04", {mode, version}},
      {2, 1, 0, 0, "", {mode, version}},
  };
  for (const auto& c : cases) {
    InstallFakeLibrary();
    Fake().runningMode = c.mode;
    Fake().results["QZ_GetRunningCodeMode"] = c.modeResult;
    Fake().results["QZ_GetFWVersion"] = c.versionResult;
    if (c.versionResult == 0) Fake().failNames = {"QZ_GetFWVersion"};
    char buffer[kVersionTextSize] = {};
    ConsoleCapture capture;
    const std::string where = std::to_string(c.mode) + "/" + std::to_string(c.versionResult);
    EXPECT_EQ(OpGetFWVersion(buffer), c.result) << where;
    EXPECT_STREQ(buffer, c.text) << where;
    EXPECT_TRUE(c.result != 0 ||
                std::string(buffer, sizeof buffer) == std::string(sizeof buffer, '\0'));
    EXPECT_EQ(Fake().CallTexts(), c.calls) << where;
    EXPECT_EQ(capture.Output(), "") << where;
  }
}

TEST_F(FWVersionTest, AnOverlongVersionTextIsCutAtTheBuffersEnd) {
  Fake().texts["QZ_GetFWVersion"] = std::string(120, 'V');
  char buffer[kVersionTextSize + 1];
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(OpGetFWVersion(buffer), 1);
  EXPECT_EQ(std::string(buffer), std::string(kVersionTextSize - 1, 'V'));
  EXPECT_EQ(buffer[kVersionTextSize], 'X') << "nothing written past the buffer";
}

TEST_F(FWVersionTest, NoDeviceIsAnInputError) {
  for (const int32_t count : {0, -1}) {
    SetFakeDeviceCount(count);
    char buffer[kVersionTextSize] = {};
    ConsoleCapture capture;
    EXPECT_EQ(OpGetFWVersion(buffer), 0);
    EXPECT_EQ(capture.Output(), "Input parameter error! \n");
    EXPECT_TRUE(Fake().calls.empty());
  }
}

}  // namespace
