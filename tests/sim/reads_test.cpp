// Reads per series, the version query, the device list and the SDK version.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/entries.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using testing::SimEnvironment;

constexpr const char* kDev = "sim0";

enum class Kind { kId, kText, kNumber };

struct ReadCase {
  const char* label;
  Kind kind;
  int32_t (*readId)(const char*, uint16_t*);
  int32_t (*readText)(const char*, char*);
  int32_t (*readNumber)(const char*, int32_t*);
  bool onT7;
  bool onOther;
  const char* value;  // of the default device, as text
};

const ReadCase kReadCases[] = {
    {"VidFromFlash", Kind::kId, entry::QZ_GetVIDfromFlash, nullptr, nullptr, false, true, "3A5C"},
    {"PidFromFlash", Kind::kId, entry::QZ_GetPIDfromFlash, nullptr, nullptr, false, true, "0101"},
    {"T7Vid", Kind::kId, entry::QZ_GetT7VIDbySCSICmd, nullptr, nullptr, true, false, "3A5C"},
    {"T7Pid", Kind::kId, entry::QZ_GetT7PIDbySCSICmd, nullptr, nullptr, true, false, "0101"},
    {"SerialFromFlash", Kind::kText, nullptr, entry::QZ_GetSNfromFlash, nullptr, false, true,
     "SIM0000000001"},
    {"T7Serial", Kind::kText, nullptr, entry::QZ_GetT7SNbySCSICmd, nullptr, true, false,
     "SIM0000000001"},
    {"Manufacturer", Kind::kText, nullptr, entry::QZ_GetManuStrfromFlash, nullptr, true, true,
     "QZ Sim"},
    {"Product", Kind::kText, nullptr, entry::QZ_GetProdStrfromFlash, nullptr, true, true,
     "Sim Bridge"},
    {"HddStrings", Kind::kText, nullptr, entry::QZ_GetHDDStrfromFlash, nullptr, true, true,
     "SIMDISK VIRTUAL HDD"},
    {"TimerFromFlash", Kind::kNumber, nullptr, nullptr, entry::QZ_GetStandbyTimerfromFlash, false,
     true, "600"},
    {"T7Timer", Kind::kNumber, nullptr, nullptr, entry::QZ_GetT7StandbyTimerbySCSICmd, true, false,
     "600"},
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.label; }

class ReadTest : public ::testing::TestWithParam<std::tuple<ReadCase, Series>> {
 protected:
  SimEnvironment env_;
};

TEST_P(ReadTest, ReadsItsOwnSeriesAndWritesNothingOnTheOther) {
  const auto& [c, series] = GetParam();
  env_.UseSingleDevice(series);
  const bool serves = series == Series::kT7 ? c.onT7 : c.onOther;
  std::string got;
  int32_t result = 0;
  if (c.kind == Kind::kId) {
    uint16_t id = 0;
    result = c.readId(kDev, &id);
    if (id != 0) got = FormatHexId(id);
  } else if (c.kind == Kind::kText) {
    std::vector<char> buffer(80, '\0');
    result = c.readText(kDev, buffer.data());
    got = buffer.data();
  } else {
    int32_t value = 0;
    result = c.readNumber(kDev, &value);
    if (value != 0) got = std::to_string(value);
  }
  EXPECT_EQ(result, serves ? 1 : 0);
  EXPECT_EQ(got, serves ? c.value : "");
}

INSTANTIATE_TEST_SUITE_P(Reads, ReadTest,
                         ::testing::Combine(::testing::ValuesIn(kReadCases),
                                            ::testing::Values(Series::kT7, Series::kOther)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).label) +
                                  (std::get<1>(info.param) == Series::kT7 ? "_T7" : "_Other");
                         });

class DeviceQueryTest : public ::testing::Test {
 protected:
  SimEnvironment env_;
};

TEST_F(DeviceQueryTest, LongestTextsFitTheToolBuffers) {
  State state;
  state.devices.push_back(DefaultDevice(0));
  Settings& s = state.devices[0].settings;
  s.manufacturer = std::string(kMaxUsbString, 'm');
  s.hddVendor = std::string(kMaxHddVendor, 'v');
  s.hddProduct = std::string(kMaxHddProduct, 'p');
  env_.Write(state);
  char buffer[81];
  std::memset(buffer, 'X', sizeof buffer);
  ASSERT_EQ(entry::QZ_GetManuStrfromFlash(kDev, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), kMaxUsbString);
  EXPECT_EQ(buffer[80], 'X');
  ASSERT_EQ(entry::QZ_GetHDDStrfromFlash(kDev, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), kMaxHddVendor + 1 + kMaxHddProduct);
}

struct ModeCase {
  int32_t mode;
  int32_t result;
  const char* version;
};

TEST_F(DeviceQueryTest, VersionFollowsTheRunningCode) {
  const ModeCase cases[] = {{0, 0, ""}, {1, 1, "00.00.00.00"}, {2, 1, "01.02.03.04"}, {3, 0, ""}};
  for (const ModeCase& c : cases) {
    State state;
    state.devices.push_back(DefaultDevice(0));
    state.devices[0].mode = c.mode;
    env_.Write(state);
    int32_t mode = -1;
    EXPECT_EQ(entry::QZ_GetRunningCodeMode(kDev, &mode), 1);
    EXPECT_EQ(mode, c.mode);
    char version[80] = {};
    EXPECT_EQ(entry::QZ_GetFWVersion(kDev, version), c.result) << c.mode;
    EXPECT_STREQ(version, c.version) << c.mode;
  }
}

TEST_F(DeviceQueryTest, SeriesAnswer) {
  env_.UseSingleDevice(Series::kT7);
  EXPECT_EQ(entry::QZ_IsQZT7Series(kDev), 1);
  env_.UseSingleDevice(Series::kOther);
  EXPECT_EQ(entry::QZ_IsQZT7Series(kDev), 0);
  EXPECT_EQ(entry::QZ_IsQZT7Series("nope"), 0);
}

TEST_F(DeviceQueryTest, SdkVersionFitsTwentyBytes) {
  char version[20];
  std::memset(version, 'X', sizeof version);
  EXPECT_EQ(entry::QZ_GetSDKVersion(version), 1);
  EXPECT_STREQ(version, "SIM 1.0.0.0");
}

struct ListBuffers {
  std::vector<std::vector<char>> storage =
      std::vector<std::vector<char>>(16, std::vector<char>(256));
  std::vector<char*> pointers;
  ListBuffers() {
    for (auto& b : storage) pointers.push_back(b.data());
  }
};

TEST_F(DeviceQueryTest, ListNamesAtMostSixteenDevices) {
  State state;
  for (int i = 0; i < 20; ++i) AddDevice(state, Series::kOther);
  env_.Write(state);
  ListBuffers list;
  int32_t count = 0;
  EXPECT_EQ(entry::QZ_GetDeviceList(list.pointers.data(), &count), 1);
  EXPECT_EQ(count, 16);
  EXPECT_STREQ(list.pointers[0], "sim0");
  EXPECT_STREQ(list.pointers[15], "sim15");
}

TEST_F(DeviceQueryTest, FreshStateHoldsOneDefaultDevice) {
  ListBuffers list;
  int32_t count = 0;
  EXPECT_EQ(entry::QZ_GetDeviceList(list.pointers.data(), &count), 1);
  EXPECT_EQ(count, 1);
  EXPECT_STREQ(list.pointers[0], "sim0");
  EXPECT_EQ(env_.ReadDevice(), DefaultDevice(0));
}

TEST_F(DeviceQueryTest, EmptyStateListsNoDevice) {
  env_.Write(State());
  ListBuffers list;
  int32_t count = 5;
  EXPECT_EQ(entry::QZ_GetDeviceList(list.pointers.data(), &count), 1);
  EXPECT_EQ(count, 0);
}

TEST_F(DeviceQueryTest, NullDestinationsFail) {
  EXPECT_EQ(entry::QZ_GetSDKVersion(nullptr), 0);
  EXPECT_EQ(entry::QZ_GetDeviceList(nullptr, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetFWVersion(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetVIDfromFlash(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetManuStrfromFlash(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetStandbyTimerfromFlash(kDev, nullptr), 0);
}

}  // namespace
}  // namespace sim
