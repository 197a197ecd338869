// Every call sequence the tool makes to write settings or program firmware,
// replayed on its own series with valid values: each call succeeds and the
// device ends up with exactly the intended change.
#include <string>

#include "sim/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

void ImageSettings(Settings& s) {
  s.vid = 0x0BB0;
  s.manufacturer = "Image Maker";
  s.standbyTimer = 5;
}

void StagedSettings(Settings& s) {
  s.vid = 0x1A2B;
  s.pid = 0x3C4D;
  s.serial = "SN-EX";
  s.hddVendor = "HV";
  s.hddProduct = "HP";
  s.standbyTimer = 120;
  s.manufacturer = "M-EX";
  s.product = "P-EX";
}

struct SequenceCase {
  const char* label;
  Series series;
  std::string script;                   // IMAGE stands for the image's path
  std::function<void(Device&)> change;  // to the default device
};

#define INIT "InitialCustomizedSettingTable; "
#define LOAD "CheckLoadBinFileMatch:IMAGE; SetFWBinFilePath:IMAGE; " INIT
#define STAGE_COMMON \
  "EnableUpdateVID:1; EnableUpdatePID:1; EnableUpdateSN:1; EnableUpdateStandbyTimer:1; "
#define SET_COMMON                                                                   \
  "SetVIDValue:1A2B; SetPIDValue:3C4D; SetSerialNumStr:SN-EX; SetScsiVidString:HV; " \
  "SetScsiPidString:HP; SetStandbyTimer:120; "

const SequenceCase kCases[] = {
    {"VendorIdOther", Series::kOther,
     INIT "EnableUpdateVID:1; SetVIDValue:1a2B; UpdateCustomizedSetting",
     [](Device& d) { d.settings.vid = 0x1A2B; }},
    {"ProductIdT7", Series::kT7,
     INIT "EnableUpdatePID:1; SetPIDValue:0a0a; UpdateCustomizedSetting",
     [](Device& d) { d.settings.pid = 0x0A0A; }},
    {"SerialOther", Series::kOther,
     INIT "IsQZT7Series=0; EnableUpdateSN:1; SetSNFromNVRAMTable:1; SetSerialNumStr:SN-42; "
          "UpdateCustomizedSetting",
     [](Device& d) {
       d.settings.serial = "SN-42";
       d.settings.flags.snFromNvram = true;
     }},
    {"SerialT7", Series::kT7,
     INIT "IsQZT7Series; EnableUpdateSN:1; SetSerialNumStr:SN-7; UpdateCustomizedSetting",
     [](Device& d) { d.settings.serial = "SN-7"; }},
    {"ManufacturerOther", Series::kOther,
     INIT "IsQZT7Series=0; EnableUpdateManuStr:1; SetManuStr:Acme; UpdateCustomizedSetting",
     [](Device& d) { d.settings.manufacturer = "Acme"; }},
    {"ManufacturerT7", Series::kT7,
     INIT "IsQZT7Series; EnableUpdateManuProdCtl:1; SetManuProdCtl:1; SetUsbManuString:Acme T7; "
          "UpdateCustomizedSetting",
     [](Device& d) {
       d.settings.manufacturer = "Acme T7";
       d.settings.flags.manuProdCtl = true;
     }},
    {"ProductOther", Series::kOther,
     INIT "IsQZT7Series=0; EnableUpdateProdStr:1; SetProdString:Box; UpdateCustomizedSetting",
     [](Device& d) { d.settings.product = "Box"; }},
    {"ProductT7", Series::kT7,
     INIT "IsQZT7Series; EnableUpdateManuProdCtl:1; SetManuProdCtl:1; SetUsbProdString:Box T7; "
          "UpdateCustomizedSetting",
     [](Device& d) {
       d.settings.product = "Box T7";
       d.settings.flags.manuProdCtl = true;
     }},
    {"StandbyTimerOther", Series::kOther,
     "IsQZT7Series=0; " INIT
     "EnableUpdateStandbyTimer:1; SetStandbyTimer:0; UpdateCustomizedSetting",
     [](Device& d) { d.settings.standbyTimer = 0; }},
    {"StandbyTimerT7", Series::kT7, "IsQZT7Series; UpdateT7StandbyTimer:77",
     [](Device& d) { d.settings.standbyTimer = 77; }},
    {"HddStringOther", Series::kOther,
     INIT "IsQZT7Series=0; EnableUpdateDisplayHDDStrSetting:1; SetScsiVidString:WD; "
          "SetScsiPidString:Blue; EnableMapToHDDStr:1; UpdateCustomizedSetting",
     [](Device& d) {
       d.settings.hddVendor = "WD";
       d.settings.hddProduct = "Blue";
       d.settings.flags.displayHdd = d.settings.flags.mapHdd = true;
     }},
    {"HddStringT7", Series::kT7,
     INIT "IsQZT7Series; EnableUpdateInquiryCtl:1; SetScsiVidString:; SetScsiPidString:; "
          "SetInquiryCtl:1; UpdateCustomizedSetting",
     [](Device& d) {
       d.settings.hddVendor = d.settings.hddProduct = "";
       d.settings.flags.inquiryCtl = true;
     }},
    {"UpdateFromBin", Series::kOther, LOAD "FWUpdateProgramming",
     [](Device& d) { ImageSettings(d.settings); }},
    {"UpdateNoCustomizedSetting", Series::kT7,
     "GetRunningCodeMode=2; " LOAD "FWUpdateProgrammingNoCustomizedSetting", [](Device&) {}},
    {"UpdateWithSettingsT7", Series::kT7,
     LOAD "IsQZT7Series; " STAGE_COMMON
          "EnableUpdateManuProdCtl:1; EnableUpdateInquiryCtl:1; " SET_COMMON
          "SetManuProdCtl:1; SetInquiryCtl:1; SetUsbManuString:M-EX; "
          "SetUsbProdString:P-EX; FWUpdateProgrammingEX",
     [](Device& d) {
       StagedSettings(d.settings);
       d.settings.flags.manuProdCtl = d.settings.flags.inquiryCtl = true;
     }},
    {"UpdateWithSettingsOther", Series::kOther,
     LOAD "IsQZT7Series=0; " STAGE_COMMON "EnableUpdateDisplayHDDStrSetting:1; "
          "EnableUpdateManuStr:1; EnableUpdateProdStr:1; " SET_COMMON "EnableMapToHDDStr:1; "
          "SetSNFromNVRAMTable:1; SetManuStr:M-EX; SetProdString:P-EX; FWUpdateProgrammingEX",
     [](Device& d) {
       StagedSettings(d.settings);
       d.settings.flags.displayHdd = d.settings.flags.mapHdd = d.settings.flags.snFromNvram = true;
     }},
};

using SequenceTest = SimParamTest<SequenceCase>;

TEST_P(SequenceTest, EveryCallSucceedsAndTheDeviceChangesAsIntended) {
  const SequenceCase& c = GetParam();
  UseSingleDevice(c.series);
  const std::string path = File("fw.bin");
  ImageInfo image;
  image.series = c.series;
  image.version = "05.06.07.08";
  image.hasSettings = true;
  image.settings = DefaultSettings();
  ImageSettings(image.settings);
  image.payloadSize = 4096;
  std::string error;
  ASSERT_TRUE(WriteImage(path, image, PatternPayload(1), &error)) << error;
  ASSERT_TRUE(ReadImage(path, &image, &error)) << error;
  Device expected = ReadDevice();
  std::string script = c.script;
  for (auto at = script.find("IMAGE"); at != std::string::npos; at = script.find("IMAGE")) {
    script.replace(at, 5, path);
  }
  RunScript(script);
  c.change(expected);
  if (script.find("FWUpdate") != std::string::npos) {
    expected.version = image.version;
    expected.firmware = Firmware{image.payloadSize, image.payloadCrc};
  }
  EXPECT_EQ(ReadDevice(), expected);
}

INSTANTIATE_TEST_SUITE_P(ToolSequences, SequenceTest, ::testing::ValuesIn(kCases), LabelName());

}  // namespace
}  // namespace sim
