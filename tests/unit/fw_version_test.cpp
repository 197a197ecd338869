// The firmware version query: running-code modes, the version read and its
// failure, the device guard.
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

const std::string kModeCall = "QZ_GetRunningCodeMode(\"dev0\", out)";
const std::string kVersionCall = "QZ_GetFWVersion(\"dev0\", out)";

bool AllZero(const char* buffer, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (buffer[i] != '\0') return false;
  }
  return true;
}

struct ModeCase {
  int32_t mode;
  int32_t result;
  const char* text;
  std::vector<std::string> calls;
};

TEST_F(FWVersionTest, EachRunningCodeModeDecidesTheRead) {
  const ModeCase cases[] = {
      {0, 0, "", {kModeCall}},
      {1, 1, "Internal code", {kModeCall}},
      {2, 1, "01.02.03.04", {kModeCall, kVersionCall}},
      {3, 0, "", {kModeCall}},
      {-1, 0, "", {kModeCall}},
  };
  for (const ModeCase& c : cases) {
    InstallFakeLibrary();
    Fake().runningMode = c.mode;
    char buffer[kVersionTextSize] = {};
    ConsoleCapture capture;
    EXPECT_EQ(OpGetFWVersion(buffer), c.result) << "mode " << c.mode;
    EXPECT_STREQ(buffer, c.text) << "mode " << c.mode;
    if (c.result == 0) {
      EXPECT_TRUE(AllZero(buffer, sizeof buffer)) << "mode " << c.mode;
    }
    EXPECT_EQ(Fake().CallTexts(), c.calls) << "mode " << c.mode;
    EXPECT_EQ(capture.Output(), "") << "mode " << c.mode;
  }
}

TEST_F(FWVersionTest, TheVersionGoesIntoTheCallersBuffer) {
  char buffer[kVersionTextSize] = {};
  ASSERT_EQ(OpGetFWVersion(buffer), 1);
  ASSERT_EQ(Fake().calls.size(), 2u);
  EXPECT_EQ(Fake().calls[1].pointers[1], buffer);
}

TEST_F(FWVersionTest, OnlyTheWrittenModeCountsNotTheModeCallsResult) {
  Fake().results["QZ_GetRunningCodeMode"] = 0;
  char buffer[kVersionTextSize] = {};
  EXPECT_EQ(OpGetFWVersion(buffer), 1);
  EXPECT_STREQ(buffer, "01.02.03.04");
}

TEST_F(FWVersionTest, AFailedVersionReadIsAFailure) {
  Fake().failNames = {"QZ_GetFWVersion"};
  char buffer[kVersionTextSize] = {};
  ConsoleCapture capture;
  EXPECT_EQ(OpGetFWVersion(buffer), 0);
  EXPECT_TRUE(AllZero(buffer, sizeof buffer));
  EXPECT_EQ(capture.Output(), "");
}

TEST_F(FWVersionTest, AnyNonzeroVersionReadIsSuccess) {
  Fake().results["QZ_GetFWVersion"] = -7;
  char buffer[kVersionTextSize] = {};
  EXPECT_EQ(OpGetFWVersion(buffer), 1);
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
