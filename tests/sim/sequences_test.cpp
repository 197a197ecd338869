// Replays every call sequence the tool makes to write settings or program
// firmware, on its own series with valid values: each call must succeed and
// the device must end up with exactly the intended change.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/entries.h"
#include "sim/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using testing::SimEnvironment;

constexpr const char* kDev = "sim0";
constexpr int32_t kNonzero = INT32_MIN;  // any success

struct Step {
  const char* name;
  std::function<int32_t()> call;
  int32_t expect;
};

// The image every sequence uses; its settings block is meant to show only
// where QZ_FWUpdateProgramming takes it.
std::string& ImagePath() {
  static std::string path;
  return path;
}
const char* Image() { return ImagePath().c_str(); }

#define STEP(name, ...)                                      \
  Step {                                                     \
#name, [] { return entry::name(__VA_ARGS__); }, kNonzero \
  }
#define SERIES_STEP(answer)                                                \
  Step {                                                                   \
    "QZ_IsQZT7Series", [] { return entry::QZ_IsQZT7Series(kDev); }, answer \
  }
const Step kInit{"QZ_InitialCustomizedSettingTable",
                 [] { return entry::QZ_InitialCustomizedSettingTable(); }, kNonzero};
const Step kCommit = STEP(QZ_UpdateCustomizedSetting, kDev);
const Step kMode{"QZ_GetRunningCodeMode",
                 [] {
                   int32_t mode = 0;
                   return entry::QZ_GetRunningCodeMode(kDev, &mode) == 1 && mode == 2 ? 1 : 0;
                 },
                 kNonzero};

struct SequenceCase {
  const char* label;
  Series series;
  std::vector<Step> steps;
  std::function<void(Device&)> change;  // applied to the default device
};

void NewFirmware(Device& d) {
  d.version = "05.06.07.08";
  d.firmware.size = 4096;
}

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

std::vector<SequenceCase> Cases() {
  const Step t7 = SERIES_STEP(1);
  const Step other = SERIES_STEP(0);
  return {
      {"SetVendorIdOther",
       Series::kOther,
       {kInit, STEP(QZ_EnableUpdateVID, kDev, 1), STEP(QZ_SetVIDValue, kDev, "1a2B"), kCommit},
       [](Device& d) { d.settings.vid = 0x1A2B; }},
      {"SetVendorIdT7",
       Series::kT7,
       {kInit, STEP(QZ_EnableUpdateVID, kDev, 1), STEP(QZ_SetVIDValue, kDev, "FFFF"), kCommit},
       [](Device& d) { d.settings.vid = 0xFFFF; }},
      {"SetProductIdOther",
       Series::kOther,
       {kInit, STEP(QZ_EnableUpdatePID, kDev, 1), STEP(QZ_SetPIDValue, kDev, "7"), kCommit},
       [](Device& d) { d.settings.pid = 0x0007; }},
      {"SetProductIdT7",
       Series::kT7,
       {kInit, STEP(QZ_EnableUpdatePID, kDev, 1), STEP(QZ_SetPIDValue, kDev, "0a0a"), kCommit},
       [](Device& d) { d.settings.pid = 0x0A0A; }},
      {"SetSerialNumberOther",
       Series::kOther,
       {kInit, other, STEP(QZ_EnableUpdateSN, kDev, 1), STEP(QZ_SetSNFromNVRAMTable, kDev, 1),
        STEP(QZ_SetSerialNumStr, kDev, "SN-42"), kCommit},
       [](Device& d) {
         d.settings.serial = "SN-42";
         d.settings.flags.snFromNvram = true;
       }},
      {"SetSerialNumberT7",
       Series::kT7,
       {kInit, t7, STEP(QZ_EnableUpdateSN, kDev, 1), STEP(QZ_SetSerialNumStr, kDev, "SN-7"),
        kCommit},
       [](Device& d) { d.settings.serial = "SN-7"; }},
      {"SetManufacturerOther",
       Series::kOther,
       {kInit, other, STEP(QZ_EnableUpdateManuStr, kDev, 1), STEP(QZ_SetManuStr, kDev, "Acme"),
        kCommit},
       [](Device& d) { d.settings.manufacturer = "Acme"; }},
      {"SetManufacturerT7",
       Series::kT7,
       {kInit, t7, STEP(QZ_EnableUpdateManuProdCtl, kDev, 1), STEP(QZ_SetManuProdCtl, kDev, 1),
        STEP(QZ_SetUsbManuString, kDev, "Acme T7"), kCommit},
       [](Device& d) {
         d.settings.manufacturer = "Acme T7";
         d.settings.flags.manuProdCtl = true;
       }},
      {"SetProductStringOther",
       Series::kOther,
       {kInit, other, STEP(QZ_EnableUpdateProdStr, kDev, 1), STEP(QZ_SetProdString, kDev, "Box"),
        kCommit},
       [](Device& d) { d.settings.product = "Box"; }},
      {"SetProductStringT7",
       Series::kT7,
       {kInit, t7, STEP(QZ_EnableUpdateManuProdCtl, kDev, 1), STEP(QZ_SetManuProdCtl, kDev, 1),
        STEP(QZ_SetUsbProdString, kDev, "Box T7"), kCommit},
       [](Device& d) {
         d.settings.product = "Box T7";
         d.settings.flags.manuProdCtl = true;
       }},
      {"SetStandbyTimerOther",
       Series::kOther,
       {other, kInit, STEP(QZ_EnableUpdateStandbyTimer, kDev, 1), STEP(QZ_SetStandbyTimer, kDev, 0),
        kCommit},
       [](Device& d) { d.settings.standbyTimer = 0; }},
      {"SetStandbyTimerT7",
       Series::kT7,
       {t7, STEP(QZ_UpdateT7StandbyTimer, kDev, 77)},
       [](Device& d) { d.settings.standbyTimer = 77; }},
      {"SetHddStringOther",
       Series::kOther,
       {kInit, other, STEP(QZ_EnableUpdateDisplayHDDStrSetting, kDev, 1),
        STEP(QZ_SetScsiVidString, kDev, "WD"), STEP(QZ_SetScsiPidString, kDev, "Blue"),
        STEP(QZ_EnableMapToHDDStr, kDev, 1), kCommit},
       [](Device& d) {
         d.settings.hddVendor = "WD";
         d.settings.hddProduct = "Blue";
         d.settings.flags.displayHdd = true;
         d.settings.flags.mapHdd = true;
       }},
      {"SetHddStringT7",
       Series::kT7,
       {kInit, t7, STEP(QZ_EnableUpdateInquiryCtl, kDev, 1), STEP(QZ_SetScsiVidString, kDev, ""),
        STEP(QZ_SetScsiPidString, kDev, ""), STEP(QZ_SetInquiryCtl, kDev, 1), kCommit},
       [](Device& d) {
         d.settings.hddVendor = "";
         d.settings.hddProduct = "";
         d.settings.flags.inquiryCtl = true;
       }},
      {"UpdateFromBin",
       Series::kOther,
       {STEP(QZ_CheckLoadBinFileMatch, kDev, Image()), STEP(QZ_SetFWBinFilePath, Image()), kInit,
        STEP(QZ_FWUpdateProgramming, kDev)},
       [](Device& d) {
         NewFirmware(d);
         ImageSettings(d.settings);
       }},
      {"UpdateNoCustomizedSetting",
       Series::kT7,
       {kMode, STEP(QZ_CheckLoadBinFileMatch, kDev, Image()), STEP(QZ_SetFWBinFilePath, Image()),
        kInit, STEP(QZ_FWUpdateProgrammingNoCustomizedSetting, kDev)},
       NewFirmware},
      {"UpdateWithCustomizedSettingT7",
       Series::kT7,
       {STEP(QZ_CheckLoadBinFileMatch, kDev, Image()),
        STEP(QZ_SetFWBinFilePath, Image()),
        kInit,
        t7,
        STEP(QZ_EnableUpdateVID, kDev, 1),
        STEP(QZ_EnableUpdatePID, kDev, 1),
        STEP(QZ_EnableUpdateSN, kDev, 1),
        STEP(QZ_EnableUpdateStandbyTimer, kDev, 1),
        STEP(QZ_EnableUpdateManuProdCtl, kDev, 1),
        STEP(QZ_EnableUpdateInquiryCtl, kDev, 1),
        STEP(QZ_SetVIDValue, kDev, "1A2B"),
        STEP(QZ_SetPIDValue, kDev, "3C4D"),
        STEP(QZ_SetSerialNumStr, kDev, "SN-EX"),
        STEP(QZ_SetScsiVidString, kDev, "HV"),
        STEP(QZ_SetScsiPidString, kDev, "HP"),
        STEP(QZ_SetStandbyTimer, kDev, 120),
        STEP(QZ_SetManuProdCtl, kDev, 1),
        STEP(QZ_SetInquiryCtl, kDev, 1),
        STEP(QZ_SetUsbManuString, kDev, "M-EX"),
        STEP(QZ_SetUsbProdString, kDev, "P-EX"),
        STEP(QZ_FWUpdateProgrammingEX, kDev)},
       [](Device& d) {
         NewFirmware(d);
         StagedSettings(d.settings);
         d.settings.flags.manuProdCtl = true;
         d.settings.flags.inquiryCtl = true;
       }},
      {"UpdateWithCustomizedSettingOther",
       Series::kOther,
       {STEP(QZ_CheckLoadBinFileMatch, kDev, Image()),
        STEP(QZ_SetFWBinFilePath, Image()),
        kInit,
        other,
        STEP(QZ_EnableUpdateVID, kDev, 1),
        STEP(QZ_EnableUpdatePID, kDev, 1),
        STEP(QZ_EnableUpdateSN, kDev, 1),
        STEP(QZ_EnableUpdateStandbyTimer, kDev, 1),
        STEP(QZ_EnableUpdateDisplayHDDStrSetting, kDev, 1),
        STEP(QZ_EnableUpdateManuStr, kDev, 1),
        STEP(QZ_EnableUpdateProdStr, kDev, 1),
        STEP(QZ_SetVIDValue, kDev, "1A2B"),
        STEP(QZ_SetPIDValue, kDev, "3C4D"),
        STEP(QZ_SetSerialNumStr, kDev, "SN-EX"),
        STEP(QZ_SetScsiVidString, kDev, "HV"),
        STEP(QZ_SetScsiPidString, kDev, "HP"),
        STEP(QZ_SetStandbyTimer, kDev, 120),
        STEP(QZ_EnableMapToHDDStr, kDev, 1),
        STEP(QZ_SetSNFromNVRAMTable, kDev, 1),
        STEP(QZ_SetManuStr, kDev, "M-EX"),
        STEP(QZ_SetProdString, kDev, "P-EX"),
        STEP(QZ_FWUpdateProgrammingEX, kDev)},
       [](Device& d) {
         NewFirmware(d);
         StagedSettings(d.settings);
         d.settings.flags.displayHdd = true;
         d.settings.flags.mapHdd = true;
         d.settings.flags.snFromNvram = true;
       }},
  };
}

void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.label; }

class SequenceTest : public ::testing::TestWithParam<SequenceCase> {
 protected:
  SimEnvironment env_;
};

TEST_P(SequenceTest, EveryCallSucceedsAndTheDeviceChangesAsIntended) {
  const SequenceCase& c = GetParam();
  env_.UseSingleDevice(c.series);
  ImagePath() = env_.File("fw.bin");
  ImageInfo image;
  image.series = c.series;
  image.version = "05.06.07.08";
  image.hasSettings = true;
  image.settings = DefaultSettings();
  ImageSettings(image.settings);
  image.payloadSize = 4096;
  std::string error;
  ASSERT_TRUE(WriteImage(ImagePath(), image, PatternPayload(1), &error)) << error;
  ASSERT_TRUE(ReadImage(ImagePath(), &image, &error)) << error;
  Device expected = env_.ReadDevice();

  for (const Step& step : c.steps) {
    int32_t result = step.call();
    if (step.expect == kNonzero) {
      ASSERT_NE(result, 0) << step.name;
    } else {
      ASSERT_EQ(result, step.expect) << step.name;
    }
  }

  c.change(expected);
  if (expected.firmware.size != 0) expected.firmware.crc32 = image.payloadCrc;
  EXPECT_EQ(env_.ReadDevice(), expected);
}

INSTANTIATE_TEST_SUITE_P(ToolSequences, SequenceTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace sim
