// Staging rules: each settable field, enabled or not, with a value the device
// can or cannot hold; calls of the other series; the commit's own rules.
#include <gtest/gtest.h>

#include <string>

#include "sim/entries.h"
#include "sim/fields.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using testing::SimEnvironment;

constexpr const char* kDev = "sim0";
using EnableFn = int32_t (*)(const char*, int32_t);
using TextSetter = int32_t (*)(const char*, const char*);
using NumberSetter = int32_t (*)(const char*, int32_t);

struct FieldCase {
  const char* label;
  Series series;
  EnableFn enable;
  TextSetter setText;      // either this...
  NumberSetter setNumber;  // ...or this
  const char* valid;
  const char* invalid;
  Field field;
  const char* stored;  // the field as read back after the valid value
};

const std::string k9(9, 'V'), k17(17, 'P'), k31(31, 'S'), k32(32, 'S'), k63(63, 'M'), k64(64, 'M');

const FieldCase kFieldCases[] = {
    {"VidOther", Series::kOther, entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, nullptr, "12ab",
     "12345", Field::kVid, "12AB"},
    {"VidNotHex", Series::kOther, entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, nullptr, "1",
     "0x12", Field::kVid, "0001"},
    {"VidEmpty", Series::kT7, entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, nullptr, "FFFF", "",
     Field::kVid, "FFFF"},
    {"PidT7", Series::kT7, entry::QZ_EnableUpdatePID, entry::QZ_SetPIDValue, nullptr, "0a0B",
     "g000", Field::kPid, "0A0B"},
    {"PidOther", Series::kOther, entry::QZ_EnableUpdatePID, entry::QZ_SetPIDValue, nullptr, "42",
     "4 2", Field::kPid, "0042"},
    {"SerialOther", Series::kOther, entry::QZ_EnableUpdateSN, entry::QZ_SetSerialNumStr, nullptr,
     k31.c_str(), k32.c_str(), Field::kSerial, k31.c_str()},
    {"SerialT7", Series::kT7, entry::QZ_EnableUpdateSN, entry::QZ_SetSerialNumStr, nullptr, "SN-1",
     "SN\t1", Field::kSerial, "SN-1"},
    {"ManufacturerOther", Series::kOther, entry::QZ_EnableUpdateManuStr, entry::QZ_SetManuStr,
     nullptr, k63.c_str(), k64.c_str(), Field::kManufacturer, k63.c_str()},
    {"ProductOther", Series::kOther, entry::QZ_EnableUpdateProdStr, entry::QZ_SetProdString,
     nullptr, "Box", k64.c_str(), Field::kProduct, "Box"},
    {"ManufacturerT7", Series::kT7, entry::QZ_EnableUpdateManuProdCtl, entry::QZ_SetUsbManuString,
     nullptr, "Maker", k64.c_str(), Field::kManufacturer, "Maker"},
    {"ProductT7", Series::kT7, entry::QZ_EnableUpdateManuProdCtl, entry::QZ_SetUsbProdString,
     nullptr, k63.c_str(), k64.c_str(), Field::kProduct, k63.c_str()},
    {"HddVendorOther", Series::kOther, entry::QZ_EnableUpdateDisplayHDDStrSetting,
     entry::QZ_SetScsiVidString, nullptr, "ABCDEFGH", k9.c_str(), Field::kHddVendor, "ABCDEFGH"},
    {"HddProductOther", Series::kOther, entry::QZ_EnableUpdateDisplayHDDStrSetting,
     entry::QZ_SetScsiPidString, nullptr, "", k17.c_str(), Field::kHddProduct, ""},
    {"HddVendorT7", Series::kT7, entry::QZ_EnableUpdateInquiryCtl, entry::QZ_SetScsiVidString,
     nullptr, "V", k9.c_str(), Field::kHddVendor, "V"},
    {"HddProductT7", Series::kT7, entry::QZ_EnableUpdateInquiryCtl, entry::QZ_SetScsiPidString,
     nullptr, "PPPPPPPPPPPPPPPP", k17.c_str(), Field::kHddProduct, "PPPPPPPPPPPPPPPP"},
    {"TimerOther", Series::kOther, entry::QZ_EnableUpdateStandbyTimer, nullptr,
     entry::QZ_SetStandbyTimer, "0", "-1", Field::kTimer, "0"},
    {"TimerT7", Series::kT7, entry::QZ_EnableUpdateStandbyTimer, nullptr, entry::QZ_SetStandbyTimer,
     "3600", "-600", Field::kTimer, "3600"},
    {"ManuProdCtlT7", Series::kT7, entry::QZ_EnableUpdateManuProdCtl, nullptr,
     entry::QZ_SetManuProdCtl, "1", "2", Field::kManuProdCtl, "1"},
    {"InquiryCtlT7", Series::kT7, entry::QZ_EnableUpdateInquiryCtl, nullptr,
     entry::QZ_SetInquiryCtl, "1", "-1", Field::kInquiryCtl, "1"},
    {"SnFromNvramOther", Series::kOther, entry::QZ_EnableUpdateSN, nullptr,
     entry::QZ_SetSNFromNVRAMTable, "1", "7", Field::kSnFromNvram, "1"},
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.label; }

class FieldRuleTest
    : public ::testing::TestWithParam<std::tuple<FieldCase, bool /*enabled*/, bool /*valid*/>> {
 protected:
  SimEnvironment env_;
};

TEST_P(FieldRuleTest, SetterSucceedsOnlyForAnEnabledFieldAndAValueTheDeviceHolds) {
  const auto& [c, enabled, valid] = GetParam();
  env_.UseSingleDevice(c.series);
  const std::string before = FieldText(env_.ReadDevice().settings, c.field);
  const char* value = valid ? c.valid : c.invalid;

  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  if (enabled) {
    ASSERT_EQ(c.enable(kDev, 1), 1);
  }
  int32_t set = c.setText != nullptr ? c.setText(kDev, value)
                                     : c.setNumber(kDev, static_cast<int32_t>(std::stol(value)));
  EXPECT_EQ(set, enabled && valid ? 1 : 0);
  // With the field enabled the commit goes through, writing the value only if it was taken.
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), enabled ? 1 : 0);
  EXPECT_EQ(FieldText(env_.ReadDevice().settings, c.field), enabled && valid ? c.stored : before);
}

INSTANTIATE_TEST_SUITE_P(AllFields, FieldRuleTest,
                         ::testing::Combine(::testing::ValuesIn(kFieldCases), ::testing::Bool(),
                                            ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).label) +
                                  (std::get<1>(info.param) ? "_Enabled" : "_NotEnabled") +
                                  (std::get<2>(info.param) ? "_Valid" : "_Invalid");
                         });

// A call of the other series fails even where the field itself is open.
struct SeriesCase {
  const char* label;
  Series series;
  EnableFn open;  // opens the field on this series (may be null)
  int32_t (*call)();
};

const SeriesCase kSeriesCases[] = {
    {"EnableManuStrOnT7", Series::kT7, nullptr,
     [] { return entry::QZ_EnableUpdateManuStr(kDev, 1); }},
    {"EnableProdStrOnT7", Series::kT7, nullptr,
     [] { return entry::QZ_EnableUpdateProdStr(kDev, 1); }},
    {"EnableDisplayHddOnT7", Series::kT7, nullptr,
     [] { return entry::QZ_EnableUpdateDisplayHDDStrSetting(kDev, 1); }},
    {"EnableMapHddOnT7", Series::kT7, entry::QZ_EnableUpdateInquiryCtl,
     [] { return entry::QZ_EnableMapToHDDStr(kDev, 1); }},
    {"SetManuStrOnT7", Series::kT7, entry::QZ_EnableUpdateManuProdCtl,
     [] { return entry::QZ_SetManuStr(kDev, "M"); }},
    {"SetProdStringOnT7", Series::kT7, entry::QZ_EnableUpdateManuProdCtl,
     [] { return entry::QZ_SetProdString(kDev, "P"); }},
    {"SetSnFromNvramOnT7", Series::kT7, entry::QZ_EnableUpdateSN,
     [] { return entry::QZ_SetSNFromNVRAMTable(kDev, 1); }},
    {"EnableManuProdCtlOnOther", Series::kOther, nullptr,
     [] { return entry::QZ_EnableUpdateManuProdCtl(kDev, 1); }},
    {"EnableInquiryCtlOnOther", Series::kOther, nullptr,
     [] { return entry::QZ_EnableUpdateInquiryCtl(kDev, 1); }},
    {"SetUsbManuOnOther", Series::kOther, entry::QZ_EnableUpdateManuStr,
     [] { return entry::QZ_SetUsbManuString(kDev, "M"); }},
    {"SetUsbProdOnOther", Series::kOther, entry::QZ_EnableUpdateProdStr,
     [] { return entry::QZ_SetUsbProdString(kDev, "P"); }},
    {"SetManuProdCtlOnOther", Series::kOther, entry::QZ_EnableUpdateManuStr,
     [] { return entry::QZ_SetManuProdCtl(kDev, 1); }},
    {"SetInquiryCtlOnOther", Series::kOther, entry::QZ_EnableUpdateDisplayHDDStrSetting,
     [] { return entry::QZ_SetInquiryCtl(kDev, 1); }},
    {"UpdateT7TimerOnOther", Series::kOther, nullptr,
     [] { return entry::QZ_UpdateT7StandbyTimer(kDev, 10); }},
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.label; }

class SeriesRuleTest : public ::testing::TestWithParam<SeriesCase> {
 protected:
  SimEnvironment env_;
};

TEST_P(SeriesRuleTest, CallOfTheOtherSeriesFails) {
  const SeriesCase& c = GetParam();
  env_.UseSingleDevice(c.series);
  const Device before = env_.ReadDevice();
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  if (c.open != nullptr) {
    ASSERT_EQ(c.open(kDev, 1), 1);
  }
  EXPECT_EQ(c.call(), 0);
  EXPECT_EQ(env_.ReadDevice(), before);
}

INSTANTIATE_TEST_SUITE_P(WrongSeries, SeriesRuleTest, ::testing::ValuesIn(kSeriesCases),
                         [](const auto& info) { return std::string(info.param.label); });

class CommitTest : public ::testing::Test {
 protected:
  void SetUp() override { env_.UseSingleDevice(Series::kOther); }
  SimEnvironment env_;
};

TEST_F(CommitTest, NothingStagedFails) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
}

TEST_F(CommitTest, StagingCallsBeforeInitialTableFail) {
  EXPECT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 0);
  EXPECT_EQ(entry::QZ_SetVIDValue(kDev, "1234"), 0);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
}

TEST_F(CommitTest, CommitClearsTheStaging) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
  ASSERT_EQ(entry::QZ_SetVIDValue(kDev, "1234"), 1);
  ASSERT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 1);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
  EXPECT_EQ(entry::QZ_SetPIDValue(kDev, "1234"), 0);
}

TEST_F(CommitTest, InitialTableDiscardsEarlierStaging) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
  ASSERT_EQ(entry::QZ_SetVIDValue(kDev, "1234"), 1);
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
  EXPECT_EQ(env_.ReadDevice().settings.vid, 0x3A5C);
}

TEST_F(CommitTest, EnableWithZeroClosesTheField) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 0), 1);
  EXPECT_EQ(entry::QZ_SetVIDValue(kDev, "1234"), 0);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
}

TEST_F(CommitTest, WritesOnlyTheEnabledFieldsThatGotValues) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateDisplayHDDStrSetting(kDev, 1), 1);
  ASSERT_EQ(entry::QZ_SetScsiVidString(kDev, "NEWV"), 1);
  ASSERT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 1);
  Device after = env_.ReadDevice();
  Device expected = DefaultDevice(0);
  expected.settings.hddVendor = "NEWV";
  expected.settings.flags.displayHdd = true;  // the enable itself sets its flag
  EXPECT_EQ(after, expected);
}

TEST_F(CommitTest, MapToHddStringNeedsTheHddStringsOpen) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  EXPECT_EQ(entry::QZ_EnableMapToHDDStr(kDev, 1), 0);
  ASSERT_EQ(entry::QZ_EnableUpdateDisplayHDDStrSetting(kDev, 1), 1);
  EXPECT_EQ(entry::QZ_EnableMapToHDDStr(kDev, 1), 1);
}

TEST_F(CommitTest, StagingBelongsToOneDevice) {
  State state;
  state.devices = {DefaultDevice(0), DefaultDevice(1)};
  env_.Write(state);
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
  EXPECT_EQ(entry::QZ_EnableUpdatePID("sim1", 1), 0);
  EXPECT_EQ(entry::QZ_SetVIDValue("sim1", "1111"), 0);
  ASSERT_EQ(entry::QZ_SetVIDValue(kDev, "2222"), 1);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting("sim1"), 0);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 1);
  EXPECT_EQ(env_.ReadDevice(0).settings.vid, 0x2222);
  EXPECT_EQ(env_.ReadDevice(1).settings.vid, 0x3A5C);
}

TEST_F(CommitTest, UnknownDeviceAndNullArgumentsFail) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  EXPECT_EQ(entry::QZ_EnableUpdateVID("sim9", 1), 0);
  EXPECT_EQ(entry::QZ_EnableUpdateVID(nullptr, 1), 0);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
  EXPECT_EQ(entry::QZ_SetVIDValue(kDev, nullptr), 0);
}

TEST_F(CommitTest, InitialTableFailsWithoutDevices) {
  env_.Write(State());
  EXPECT_EQ(entry::QZ_InitialCustomizedSettingTable(), 0);
}

}  // namespace
}  // namespace sim
