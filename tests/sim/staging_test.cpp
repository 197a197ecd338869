// Staging: every settable field, enabled or not, with a value the device can
// or cannot hold; calls of the other series; the table's own rules.
#include <string>

#include "sim/fields.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

struct FieldCase {
  const char* label;
  Series series;
  int32_t (*enable)(const char*, int32_t);
  int32_t (*setText)(const char*, const char*);  // either this...
  int32_t (*setNumber)(const char*, int32_t);    // ...or this
  const char* valid;
  const char* invalid;
  Field field;
  const char* stored;  // read back after the valid value
};

const std::string k9(9, 'V'), k17(17, 'P'), k31(31, 'S'), k32(32, 'S'), k63(63, 'M'), k64(64, 'M');

const FieldCase kFieldCases[] = {
    {"VidOther", Series::kOther, entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, nullptr, "12ab",
     "12345", Field::kVid, "12AB"},
    {"VidT7", Series::kT7, entry::QZ_EnableUpdateVID, entry::QZ_SetVIDValue, nullptr, "1", "",
     Field::kVid, "0001"},
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
     nullptr, "Box", "caf\xc3\xa9", Field::kProduct, "Box"},
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

using FieldRuleTest = SimParamTest<std::tuple<FieldCase, bool /*enabled*/, bool /*valid*/>>;

TEST_P(FieldRuleTest, SetterTakesOnlyAnEnabledFieldAndAValueTheDeviceHolds) {
  const auto& [c, enabled, valid] = GetParam();
  UseSingleDevice(c.series);
  const std::string before = FieldText(ReadDevice().settings, c.field);
  const char* value = valid ? c.valid : c.invalid;
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  if (enabled) {
    ASSERT_EQ(c.enable(kDev, 1), 1);
  }
  EXPECT_EQ(c.setText ? c.setText(kDev, value) : c.setNumber(kDev, std::stoi(value)),
            enabled && valid ? 1 : 0);
  // An enabled field commits, keeping the old value if the setter refused.
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), enabled ? 1 : 0);
  EXPECT_EQ(FieldText(ReadDevice().settings, c.field), enabled && valid ? c.stored : before);
}

INSTANTIATE_TEST_SUITE_P(AllFields, FieldRuleTest,
                         ::testing::Combine(::testing::ValuesIn(kFieldCases), ::testing::Bool(),
                                            ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).label) +
                                  (std::get<1>(info.param) ? "_On" : "_Off") +
                                  (std::get<2>(info.param) ? "_Valid" : "_Invalid");
                         });

// Call scripts on sim0 of `series` and a second device sim1: afterwards sim0
// is its default changed by `change`, sim1 untouched. Wrong-series calls fail
// even where the field itself is open.
struct ScriptCase {
  const char* label;
  Series series;
  const char* script;
  std::function<void(Settings&)> change = nullptr;
};

const ScriptCase kScriptCases[] = {
    {"EnableManuStrOnT7", Series::kT7, "InitialCustomizedSettingTable; EnableUpdateManuStr:1=0"},
    {"EnableProdStrOnT7", Series::kT7, "InitialCustomizedSettingTable; EnableUpdateProdStr:1=0"},
    {"EnableDisplayHddOnT7", Series::kT7,
     "InitialCustomizedSettingTable; EnableUpdateDisplayHDDStrSetting:1=0"},
    {"EnableMapHddOnT7", Series::kT7,
     "InitialCustomizedSettingTable; EnableUpdateInquiryCtl:1; EnableMapToHDDStr:1=0"},
    {"SetManuStrOnT7", Series::kT7,
     "InitialCustomizedSettingTable; EnableUpdateManuProdCtl:1; SetManuStr:M=0"},
    {"SetProdStringOnT7", Series::kT7,
     "InitialCustomizedSettingTable; EnableUpdateManuProdCtl:1; SetProdString:P=0"},
    {"SetSnFromNvramOnT7", Series::kT7,
     "InitialCustomizedSettingTable; EnableUpdateSN:1; SetSNFromNVRAMTable:1=0"},
    {"EnableManuProdCtlOnOther", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateManuProdCtl:1=0"},
    {"EnableInquiryCtlOnOther", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateInquiryCtl:1=0"},
    {"SetUsbManuOnOther", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateManuStr:1; SetUsbManuString:M=0"},
    {"SetUsbProdOnOther", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateProdStr:1; SetUsbProdString:P=0"},
    {"SetManuProdCtlOnOther", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateManuStr:1; SetManuProdCtl:1=0"},
    {"SetInquiryCtlOnOther", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateDisplayHDDStrSetting:1; SetInquiryCtl:1=0"},
    {"UpdateT7TimerOnOther", Series::kOther, "UpdateT7StandbyTimer:10=0"},
    {"CommitWithNothingOpenFails", Series::kOther,
     "InitialCustomizedSettingTable; UpdateCustomizedSetting=0"},
    {"CallsBeforeTheTableFail", Series::kOther,
     "EnableUpdateVID:1=0; SetVIDValue:1234=0; UpdateCustomizedSetting=0"},
    {"CommitClearsTheTable", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateVID:1; SetVIDValue:1234; UpdateCustomizedSetting; "
     "UpdateCustomizedSetting=0; SetVIDValue:5678=0",
     [](Settings& s) { s.vid = 0x1234; }},
    {"NewTableDiscardsTheOld", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateVID:1; SetVIDValue:1234; "
     "InitialCustomizedSettingTable; UpdateCustomizedSetting=0"},
    {"EnableWithZeroCloses", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateVID:1; EnableUpdateVID:0; SetVIDValue:1234=0; "
     "UpdateCustomizedSetting=0"},
    {"OnlyOpenFieldsWithValuesAreWritten", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateDisplayHDDStrSetting:1; EnableUpdateVID:1; "
     "SetScsiVidString:NEWV; UpdateCustomizedSetting",
     [](Settings& s) {
       s.hddVendor = "NEWV";
       s.flags.displayHdd = true;
     }},
    {"MapToHddNeedsTheHddStringsOpen", Series::kOther,
     "InitialCustomizedSettingTable; EnableMapToHDDStr:1=0; EnableUpdateDisplayHDDStrSetting:1; "
     "EnableMapToHDDStr:1; UpdateCustomizedSetting",
     [](Settings& s) { s.flags.displayHdd = s.flags.mapHdd = true; }},
    {"TableBelongsToTheFirstDeviceNamed", Series::kOther,
     "InitialCustomizedSettingTable; EnableUpdateVID:1; sim1/EnableUpdatePID:1=0; "
     "sim1/SetVIDValue:1111=0; SetVIDValue:2222; sim1/UpdateCustomizedSetting=0; "
     "UpdateCustomizedSetting",
     [](Settings& s) { s.vid = 0x2222; }},
    {"UnknownDeviceFails", Series::kOther,
     "InitialCustomizedSettingTable; sim9/EnableUpdateVID:1=0; sim9/IsQZT7Series=0"},
};

using ScriptTest = SimParamTest<ScriptCase>;

TEST_P(ScriptTest, CallResultsAndTheirEffect) {
  const ScriptCase& c = GetParam();
  Write(State{{DefaultDevice(0, c.series), DefaultDevice(1)}});
  RunScript(c.script);
  Device expected = DefaultDevice(0, c.series);
  if (c.change) c.change(expected.settings);
  EXPECT_EQ(ReadDevice(0), expected);
  EXPECT_EQ(ReadDevice(1), DefaultDevice(1));
}

INSTANTIATE_TEST_SUITE_P(Staging, ScriptTest, ::testing::ValuesIn(kScriptCases), LabelName());

TEST_F(SimTest, NullArgumentsAndNoDeviceFail) {
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  EXPECT_EQ(entry::QZ_EnableUpdateVID(nullptr, 1), 0);
  ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
  EXPECT_EQ(entry::QZ_SetVIDValue(kDev, nullptr), 0);
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(nullptr), 0);
  Write(State());
  EXPECT_EQ(entry::QZ_InitialCustomizedSettingTable(), 0);
}

}  // namespace
}  // namespace sim
