// Reads per series, the version query, the device list and the SDK version.
#include <cstring>
#include <string>

#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

struct ReadCase {
  const char* label;
  std::function<int32_t(std::string*)> read;  // the value as text, empty if untouched
  bool onT7, onOther;
  const char* value;  // of the default device
};

template <int32_t (*F)(const char*, uint16_t*)>
int32_t ReadId(std::string* got) {
  uint16_t id = 0;
  const int32_t result = F(kDev, &id);
  if (id != 0) *got = FormatHexId(id);
  return result;
}
template <int32_t (*F)(const char*, int32_t*)>
int32_t ReadNumber(std::string* got) {
  int32_t value = 0;
  const int32_t result = F(kDev, &value);
  if (value != 0) *got = std::to_string(value);
  return result;
}
template <int32_t (*F)(const char*, char*)>
int32_t ReadString(std::string* got) {
  char buffer[80] = {};
  const int32_t result = F(kDev, buffer);
  *got = buffer;
  return result;
}

const ReadCase kReadCases[] = {
    {"VidFromFlash", ReadId<entry::QZ_GetVIDfromFlash>, false, true, "3A5C"},
    {"PidFromFlash", ReadId<entry::QZ_GetPIDfromFlash>, false, true, "0101"},
    {"T7Vid", ReadId<entry::QZ_GetT7VIDbySCSICmd>, true, false, "3A5C"},
    {"T7Pid", ReadId<entry::QZ_GetT7PIDbySCSICmd>, true, false, "0101"},
    {"SerialFromFlash", ReadString<entry::QZ_GetSNfromFlash>, false, true, "SIM0000000001"},
    {"T7Serial", ReadString<entry::QZ_GetT7SNbySCSICmd>, true, false, "SIM0000000001"},
    {"Manufacturer", ReadString<entry::QZ_GetManuStrfromFlash>, true, true, "QZ Sim"},
    {"Product", ReadString<entry::QZ_GetProdStrfromFlash>, true, true, "Sim Bridge"},
    {"HddStrings", ReadString<entry::QZ_GetHDDStrfromFlash>, true, true, "SIMDISK VIRTUAL HDD"},
    {"TimerFromFlash", ReadNumber<entry::QZ_GetStandbyTimerfromFlash>, false, true, "600"},
    {"T7Timer", ReadNumber<entry::QZ_GetT7StandbyTimerbySCSICmd>, true, false, "600"},
};

using ReadTest = SimParamTest<std::tuple<ReadCase, Series>>;

TEST_P(ReadTest, ReadsItsOwnSeriesAndWritesNothingOnTheOther) {
  const auto& [c, series] = GetParam();
  UseSingleDevice(series);
  const bool serves = series == Series::kT7 ? c.onT7 : c.onOther;
  std::string got;
  EXPECT_EQ(c.read(&got), serves ? 1 : 0);
  EXPECT_EQ(got, serves ? c.value : "");
}

INSTANTIATE_TEST_SUITE_P(Reads, ReadTest,
                         ::testing::Combine(::testing::ValuesIn(kReadCases),
                                            ::testing::Values(Series::kT7, Series::kOther)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).label) +
                                  (std::get<1>(info.param) == Series::kT7 ? "_T7" : "_Other");
                         });

TEST_F(SimTest, LongestTextsFitTheToolBuffers) {
  Device device = DefaultDevice(0);
  device.settings.manufacturer = std::string(kMaxUsbString, 'm');
  device.settings.hddVendor = std::string(kMaxHddVendor, 'v');
  device.settings.hddProduct = std::string(kMaxHddProduct, 'p');
  Write(State{{device}});
  char buffer[81];
  std::memset(buffer, 'X', sizeof buffer);
  ASSERT_EQ(entry::QZ_GetManuStrfromFlash(kDev, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), kMaxUsbString);
  ASSERT_EQ(entry::QZ_GetHDDStrfromFlash(kDev, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), kMaxHddVendor + 1 + kMaxHddProduct);
  EXPECT_EQ(buffer[80], 'X');
  char sdk[21];
  std::memset(sdk, 'X', sizeof sdk);
  EXPECT_EQ(entry::QZ_GetSDKVersion(sdk), 1);
  EXPECT_STREQ(sdk, "SIM 1.0.0.0");
}

TEST_F(SimTest, VersionFollowsTheRunningCode) {
  const struct {
    int32_t mode, result;
    const char* version;
  } cases[] = {{0, 0, ""}, {1, 1, "00.00.00.00"}, {2, 1, "01.02.03.04"}, {3, 0, ""}};
  for (const auto& c : cases) {
    Device device = DefaultDevice(0);
    device.mode = c.mode;
    Write(State{{device}});
    int32_t mode = -1;
    EXPECT_EQ(entry::QZ_GetRunningCodeMode(kDev, &mode), 1);
    EXPECT_EQ(mode, c.mode);
    char version[80] = {};
    EXPECT_EQ(entry::QZ_GetFWVersion(kDev, version), c.result) << c.mode;
    EXPECT_STREQ(version, c.version) << c.mode;
  }
}

TEST_F(SimTest, ListNamesAtMostSixteenDevices) {
  State state;
  for (int i = 0; i < 20; ++i) AddDevice(state, Series::kOther);
  Write(state);
  char buffers[16][256] = {};
  char* list[16];
  for (int i = 0; i < 16; ++i) list[i] = buffers[i];
  int32_t count = 0;
  EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 1);
  EXPECT_EQ(count, 16);
  EXPECT_STREQ(list[0], "sim0");
  EXPECT_STREQ(list[15], "sim15");
  Write(State());
  EXPECT_EQ(entry::QZ_GetDeviceList(list, &count), 1);
  EXPECT_EQ(count, 0);
}

TEST_F(SimTest, NullDestinationsFail) {
  EXPECT_EQ(entry::QZ_GetSDKVersion(nullptr), 0);
  EXPECT_EQ(entry::QZ_GetDeviceList(nullptr, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetFWVersion(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetVIDfromFlash(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetManuStrfromFlash(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_GetStandbyTimerfromFlash(kDev, nullptr), 0);
}

}  // namespace
}  // namespace sim
