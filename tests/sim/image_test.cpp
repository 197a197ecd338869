// Firmware images: which the bridge rejects, and what each programming
// variant does to the device.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/image_command.h"
#include "sim/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

constexpr long kCrcAt = kImageHeaderSize + kImageSettingsSize + 1000;  // with a 1000-byte payload

ImageInfo MakeInfo(Series series, bool withSettings, uint64_t payload = 1000) {
  ImageInfo info;
  info.series = series;
  info.version = "07.07.07.07";
  info.payloadSize = payload;
  info.hasSettings = withSettings;
  info.settings = DefaultSettings();
  info.settings.vid = 0x7777;
  info.settings.manufacturer = "From Image";
  info.settings.hddProduct = "IMAGE HDD";
  info.settings.standbyTimer = 7;
  return info;
}

void WriteFile(const std::string& path, const ImageInfo& info) {
  std::string error;
  ASSERT_TRUE(WriteImage(path, info, PatternPayload(9), &error)) << error;
}

void PatchByte(const std::string& path, long at, char value) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(at);
  f.put(value);
}

struct RejectCase {
  const char* label;
  std::function<void(const std::string& path)> spoil;
};

const RejectCase kRejectCases[] = {
    {"CorruptPayloadByte",
     [](const std::string& p) {
       std::string error;
       ASSERT_TRUE(CorruptImage(p, &error)) << error;
     }},
    {"CorruptVersionByte", [](const std::string& p) { PatchByte(p, 13, '9'); }},
    {"CorruptCrcByte", [](const std::string& p) { PatchByte(p, kCrcAt + 1, 0); }},
    {"BadMagic", [](const std::string& p) { PatchByte(p, 0, 'X'); }},
    {"FutureFormatVersion", [](const std::string& p) { PatchByte(p, 8, 2); }},
    {"UnknownSeriesByte", [](const std::string& p) { PatchByte(p, 10, 3); }},
    {"UnknownFlag", [](const std::string& p) { PatchByte(p, 11, 3); }},
    {"TruncatedByOneByte",
     [](const std::string& p) { std::filesystem::resize_file(p, kCrcAt + 3); }},
    {"TruncatedInSettings", [](const std::string& p) { std::filesystem::resize_file(p, 136); }},
    {"TruncatedInHeader", [](const std::string& p) { std::filesystem::resize_file(p, 20); }},
    {"TrailingByte",
     [](const std::string& p) { std::ofstream(p, std::ios::app | std::ios::binary) << 'x'; }},
    {"Missing", [](const std::string& p) { std::filesystem::remove(p); }},
    {"WrongSeries", [](const std::string& p) { WriteFile(p, MakeInfo(Series::kT7, true)); }},
};

using ImageRejectTest = SimParamTest<RejectCase>;

TEST_P(ImageRejectTest, CheckAndProgrammingRefuseTheImage) {
  UseSingleDevice(Series::kOther);
  const std::string path = File("fw.bin");
  WriteFile(path, MakeInfo(Series::kOther, true));
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(path.c_str()), 1);
  GetParam().spoil(path);
  const Device before = ReadDevice();
  EXPECT_EQ(entry::QZ_CheckLoadBinFileMatch(kDev, path.c_str()), 0);
  // Programming verifies the image again while reading it.
  EXPECT_EQ(entry::QZ_FWUpdateProgramming(kDev), 0);
  EXPECT_EQ(entry::QZ_FWUpdateProgrammingNoCustomizedSetting(kDev), 0);
  EXPECT_EQ(ReadDevice(), before);
}

INSTANTIATE_TEST_SUITE_P(Images, ImageRejectTest, ::testing::ValuesIn(kRejectCases), LabelName());

TEST_F(SimTest, ProgrammingNeedsAPathToAnExistingFile) {
  EXPECT_EQ(entry::QZ_FWUpdateProgramming(kDev), 0);
  EXPECT_EQ(entry::QZ_SetFWBinFilePath(File("absent.bin").c_str()), 0);
  EXPECT_EQ(entry::QZ_SetFWBinFilePath(nullptr), 0);
}

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = -1;
  while (status >> key && !(key == "VmHWM:" && status >> value)) {
  }
  return value;
}

TEST_F(SimTest, ProgramsALargeImageWithoutHoldingItInMemory) {
  constexpr uint64_t kPayload = 40ull << 20;
  WriteFile(File("large.bin"), MakeInfo(Series::kOther, false, kPayload));
  const long before = PeakResidentKiB();
  ASSERT_GT(before, 0);
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(File("large.bin").c_str()), 1);
  ASSERT_EQ(entry::QZ_CheckLoadBinFileMatch(kDev, File("large.bin").c_str()), 1);
  ASSERT_EQ(entry::QZ_FWUpdateProgrammingNoCustomizedSetting(kDev), 1);
  EXPECT_EQ(ReadDevice().firmware.size, kPayload);
  EXPECT_LT(PeakResidentKiB() - before, 8 * 1024);
}

enum class Variant { kFromBin, kNoSettings, kWithStaged };

struct VariantCase {
  const char* label;
  Variant variant;
  bool imageHasSettings;
  bool stageVid;
  int32_t result;
  bool takesImageSettings;
};

const VariantCase kVariantCases[] = {
    {"FromBinTakesTheImageSettings", Variant::kFromBin, true, false, 1, true},
    {"FromBinWithoutBlockKeepsSettings", Variant::kFromBin, false, false, 1, false},
    {"FromBinIgnoresStaging", Variant::kFromBin, true, true, 1, true},
    {"NoSettingsKeepsSettings", Variant::kNoSettings, true, false, 1, false},
    {"WithStagedWritesTheStagedOnly", Variant::kWithStaged, true, true, 1, false},
    {"WithStagedFailsWithNothingStaged", Variant::kWithStaged, true, false, 0, false},
};

using VariantTest = SimParamTest<VariantCase>;

TEST_P(VariantTest, SettingsAfterProgramming) {
  const VariantCase& c = GetParam();
  Device device = DefaultDevice(0);
  device.mode = kModeInternal;  // programming brings back regular firmware
  device.settings.flags.mapHdd = true;
  Write(State{{device}});
  const std::string path = File("fw.bin");
  ImageInfo info = MakeInfo(Series::kOther, c.imageHasSettings);
  WriteFile(path, info);
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(path.c_str()), 1);
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  if (c.stageVid) {
    ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
    ASSERT_EQ(entry::QZ_SetVIDValue(kDev, "ABCD"), 1);
  }
  EXPECT_EQ(c.variant == Variant::kFromBin ? entry::QZ_FWUpdateProgramming(kDev)
            : c.variant == Variant::kNoSettings
                ? entry::QZ_FWUpdateProgrammingNoCustomizedSetting(kDev)
                : entry::QZ_FWUpdateProgrammingEX(kDev),
            c.result);
  if (c.result != 0) {
    std::string error;
    ASSERT_TRUE(ReadImage(path, &info, &error)) << error;
    device.mode = kModeFirmware;
    device.version = info.version;
    device.firmware = Firmware{info.payloadSize, info.payloadCrc};
    if (c.takesImageSettings) {
      device.settings = info.settings;
      device.settings.flags.mapHdd = true;  // control flags are not in the image
    }
    if (c.variant == Variant::kWithStaged) device.settings.vid = 0xABCD;
  }
  EXPECT_EQ(ReadDevice(), device);
  if (c.variant == Variant::kWithStaged) {  // the table is used up
    EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Programming, VariantTest, ::testing::ValuesIn(kVariantCases), LabelName());

}  // namespace
}  // namespace sim
