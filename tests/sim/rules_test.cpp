// What a careful bridge refuses: call scripts on sim0 of a series (mode 2,
// or as the row says) and a second device sim1; afterwards sim0 is its
// default changed as the row says, sim1 untouched. IMAGE is an image for
// sim0's series, OTHER a second one.
#include "sim/bridge/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

struct RuleCase {
  const char* label;
  Series series;
  const char* script;
  std::function<void(Device&)> change = nullptr;
  int32_t mode = kModeFirmware;
};

#define LIST "GetDeviceList=2; "
#define INIT LIST "InitialCustomizedSettingTable; "
#define LOAD LIST "CheckLoadBinFileMatch:IMAGE; SetFWBinFilePath:IMAGE; "

const RuleCase kRules[] = {
    {"NothingBeforeTheListing", Series::kOther,
     "IsQZT7Series=0; GetVIDfromFlash=-1; InitialCustomizedSettingTable=0; "
     "CheckLoadBinFileMatch:IMAGE=0"},
    {"UnlistedPath", Series::kOther, LIST "sim7/IsQZT7Series=0; sim7/GetVIDfromFlash=-1"},
    {"EnableWhoseFieldGotNoValue", Series::kOther,
     INIT "EnableUpdateVID:1; UpdateCustomizedSetting=0"},
    {"EnableValueOtherThanZeroOrOne", Series::kT7,
     INIT "EnableUpdateVID:2=0; EnableUpdateManuProdCtl:1; SetManuProdCtl:2=0; "
          "SetUsbManuString:M; UpdateCustomizedSetting",
     [](Device& d) { d.settings.manufacturer = "M"; }},
    {"ControlValueOtherThanZeroOrOne", Series::kOther,
     INIT "EnableUpdateSN:1; SetSNFromNVRAMTable:-1=0; SetEnableMultiSector:2=0"},
    {"ProgrammingWithoutCheck", Series::kOther,
     LIST "SetFWBinFilePath:IMAGE; InitialCustomizedSettingTable; FWUpdateProgramming=0"},
    {"ProgrammingAnotherPathThanChecked", Series::kOther,
     LIST "CheckLoadBinFileMatch:IMAGE; SetFWBinFilePath:OTHER; FWUpdateProgramming=0"},
    {"ProgrammingAnotherDeviceThanChecked", Series::kOther,
     LIST "sim1/CheckLoadBinFileMatch:IMAGE; SetFWBinFilePath:IMAGE; FWUpdateProgramming=0"},
    {"NoSettingsOnInternalCode", Series::kT7, LOAD "FWUpdateProgrammingNoCustomizedSetting=0",
     nullptr, kModeInternal},
    {"CallsOfTheOtherSeries", Series::kT7,
     INIT "EnableUpdateManuStr:1=0; EnableUpdateDisplayHDDStrSetting:1=0; GetVIDfromFlash=-1; "
          "EnableUpdateSN:1; SetSNFromNVRAMTable:1=0; SetSerialNumStr:S; UpdateCustomizedSetting; "
          "GetT7VIDbySCSICmd=14940",
     [](Device& d) { d.settings.serial = "S"; }},
    {"CallsOfTheT7Series", Series::kOther,
     INIT "EnableUpdateManuProdCtl:1=0; EnableUpdateInquiryCtl:1=0; UpdateT7StandbyTimer:9=0; "
          "GetT7StandbyTimerbySCSICmd=-1; GetStandbyTimerfromFlash=600"},
};

using RuleTest = SimParamTest<RuleCase>;

TEST_P(RuleTest, CallResultsAndTheirEffect) {
  const RuleCase& c = GetParam();
  Device expected = DefaultDevice(0, c.series);
  expected.mode = c.mode;
  Write(State{{expected, DefaultDevice(1)}});
  std::string script = c.script, error;
  for (const char* name : {"IMAGE", "OTHER"}) {
    ImageInfo image;
    image.series = c.series;
    image.version = name;
    const std::string path = File(name);
    ASSERT_TRUE(WriteImage(path, image, PatternPayload(1), &error)) << error;
    for (auto at = script.find(name); at != std::string::npos;
         at = script.find(name, at + path.size())) {
      script.replace(at, 5, path);
    }
  }
  RunScript(script);
  if (c.change) c.change(expected);
  EXPECT_EQ(ReadDevice(0), expected);
  EXPECT_EQ(ReadDevice(1), DefaultDevice(1));
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleTest, ::testing::ValuesIn(kRules), LabelName());

TEST_F(SimTest, CommitRefusedOnceTheSeriesChanged) {
  Write(State{{DefaultDevice(0), DefaultDevice(1)}});
  RunScript(INIT "EnableUpdateSN:1; SetSerialNumStr:S1");
  Write(State{{DefaultDevice(0, Series::kT7), DefaultDevice(1)}});
  RunScript("UpdateCustomizedSetting=0");
  EXPECT_EQ(ReadDevice(), DefaultDevice(0, Series::kT7));
}

}  // namespace
}  // namespace sim
