// Firmware images: which the bridge accepts, which it rejects, and what each
// programming variant does to the device.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "sim/entries.h"
#include "sim/image_command.h"
#include "sim/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using testing::SimEnvironment;

constexpr const char* kDev = "sim0";

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

void Write(const std::string& path, const ImageInfo& info) {
  std::string error;
  ASSERT_TRUE(WriteImage(path, info, PatternPayload(9), &error)) << error;
}

void Resize(const std::string& path, std::uintmax_t size) {
  std::filesystem::resize_file(path, size);
}

void PatchByte(const std::string& path, long at, unsigned char value) {
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fseek(f, at, SEEK_SET);
  std::fputc(value, f);
  std::fclose(f);
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
    {"CorruptCrcByte", [](const std::string& p) { PatchByte(p, 36 + 216 + 1000, 0); }},
    {"BadMagic", [](const std::string& p) { PatchByte(p, 0, 'X'); }},
    {"FutureFormatVersion", [](const std::string& p) { PatchByte(p, 8, 2); }},
    {"UnknownSeriesByte", [](const std::string& p) { PatchByte(p, 10, 3); }},
    {"TruncatedByOneByte", [](const std::string& p) { Resize(p, 36 + 216 + 1000 + 3); }},
    {"TruncatedInPayload", [](const std::string& p) { Resize(p, 36 + 216 + 500); }},
    {"TruncatedInSettings", [](const std::string& p) { Resize(p, 36 + 100); }},
    {"TruncatedInHeader", [](const std::string& p) { Resize(p, 20); }},
    {"Empty", [](const std::string& p) { Resize(p, 0); }},
    {"TrailingData",
     [](const std::string& p) { std::ofstream(p, std::ios::app | std::ios::binary) << 'x'; }},
    {"Missing", [](const std::string& p) { std::filesystem::remove(p); }},
    {"WrongSeries", [](const std::string& p) { Write(p, MakeInfo(Series::kT7, true)); }},
};

void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.label; }

class ImageRejectTest : public ::testing::TestWithParam<RejectCase> {
 protected:
  SimEnvironment env_;
};

TEST_P(ImageRejectTest, CheckAndProgrammingRefuseTheImage) {
  env_.UseSingleDevice(Series::kOther);
  const std::string path = env_.File("fw.bin");
  Write(path, MakeInfo(Series::kOther, true));
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(path.c_str()), 1);
  GetParam().spoil(path);
  const Device before = env_.ReadDevice();

  EXPECT_EQ(entry::QZ_CheckLoadBinFileMatch(kDev, path.c_str()), 0);
  // Programming verifies the image again while reading it.
  EXPECT_EQ(entry::QZ_FWUpdateProgramming(kDev), 0);
  EXPECT_EQ(entry::QZ_FWUpdateProgrammingNoCustomizedSetting(kDev), 0);
  EXPECT_EQ(env_.ReadDevice(), before);
}

INSTANTIATE_TEST_SUITE_P(Images, ImageRejectTest, ::testing::ValuesIn(kRejectCases),
                         [](const auto& info) { return std::string(info.param.label); });

class ImageTest : public ::testing::Test {
 protected:
  SimEnvironment env_;
};

TEST_F(ImageTest, RoundTripKeepsEveryHeaderField) {
  const std::string path = env_.File("fw.bin");
  ImageInfo written = MakeInfo(Series::kT7, true, 0);
  Write(path, written);
  ImageInfo read;
  std::string error;
  ASSERT_TRUE(ReadImage(path, &read, &error)) << error;
  EXPECT_EQ(read.series, Series::kT7);
  EXPECT_EQ(read.version, written.version);
  EXPECT_TRUE(read.hasSettings);
  EXPECT_EQ(read.settings, written.settings);
  EXPECT_EQ(read.payloadSize, 0u);
  EXPECT_EQ(std::filesystem::file_size(path), 36u + 216u + 4u);
}

TEST_F(ImageTest, EncoderRefusesWhatTheFormatCannotCarry) {
  std::string head, error;
  ImageInfo info = MakeInfo(Series::kOther, true);
  info.version = "";
  EXPECT_FALSE(EncodeImageHead(info, &head, &error));
  info.version = std::string(16, '1');
  EXPECT_FALSE(EncodeImageHead(info, &head, &error));
  info = MakeInfo(Series::kOther, true);
  info.settings.hddVendor = "NINECHARS";
  EXPECT_FALSE(EncodeImageHead(info, &head, &error));
  info = MakeInfo(Series::kOther, true);
  info.settings.standbyTimer = -1;
  EXPECT_FALSE(EncodeImageHead(info, &head, &error));
}

TEST_F(ImageTest, AcceptsAMatchingImageOnEitherSeries) {
  for (Series series : {Series::kOther, Series::kT7}) {
    env_.UseSingleDevice(series);
    const std::string path = env_.File("ok.bin");
    Write(path, MakeInfo(series, false, 0));
    EXPECT_EQ(entry::QZ_CheckLoadBinFileMatch(kDev, path.c_str()), 1);
  }
}

TEST_F(ImageTest, SetPathNeedsAReadableFile) {
  EXPECT_EQ(entry::QZ_SetFWBinFilePath(env_.File("absent.bin").c_str()), 0);
  EXPECT_EQ(entry::QZ_SetFWBinFilePath(nullptr), 0);
  std::ofstream(env_.File("any.bin")) << "not even an image";
  EXPECT_EQ(entry::QZ_SetFWBinFilePath(env_.File("any.bin").c_str()), 1);
}

TEST_F(ImageTest, ProgrammingWithoutAPathFails) {
  env_.UseSingleDevice(Series::kOther);
  EXPECT_EQ(entry::QZ_FWUpdateProgramming(kDev), 0);
}

// Reads the peak resident size of this process, in KiB.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == "VmHWM:" && status >> value) return value;
  }
  return -1;
}

TEST_F(ImageTest, ProgramsALargeImageWithoutHoldingItInMemory) {
  env_.UseSingleDevice(Series::kOther);
  const std::string path = env_.File("large.bin");
  constexpr uint64_t kPayload = 40ull << 20;
  Write(path, MakeInfo(Series::kOther, false, kPayload));
  long before = PeakResidentKiB();
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(path.c_str()), 1);
  ASSERT_EQ(entry::QZ_CheckLoadBinFileMatch(kDev, path.c_str()), 1);
  ASSERT_EQ(entry::QZ_FWUpdateProgrammingNoCustomizedSetting(kDev), 1);
  EXPECT_EQ(env_.ReadDevice().firmware.size, kPayload);
  ASSERT_GT(before, 0);
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

void PrintTo(const VariantCase& c, std::ostream* os) { *os << c.label; }

class VariantTest : public ::testing::TestWithParam<VariantCase> {
 protected:
  SimEnvironment env_;
};

TEST_P(VariantTest, SettingsAfterProgramming) {
  const VariantCase& c = GetParam();
  State state;
  state.devices.push_back(DefaultDevice(0));
  state.devices[0].mode = kModeInternal;  // programming brings back regular firmware
  state.devices[0].settings.flags.mapHdd = true;
  env_.Write(state);
  const std::string path = env_.File("fw.bin");
  const ImageInfo info = MakeInfo(Series::kOther, c.imageHasSettings);
  Write(path, info);
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(path.c_str()), 1);
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  if (c.stageVid) {
    ASSERT_EQ(entry::QZ_EnableUpdateVID(kDev, 1), 1);
    ASSERT_EQ(entry::QZ_SetVIDValue(kDev, "ABCD"), 1);
  }
  const int32_t result = c.variant == Variant::kFromBin ? entry::QZ_FWUpdateProgramming(kDev)
                         : c.variant == Variant::kNoSettings
                             ? entry::QZ_FWUpdateProgrammingNoCustomizedSetting(kDev)
                             : entry::QZ_FWUpdateProgrammingEX(kDev);
  EXPECT_EQ(result, c.result);

  Device expected = state.devices[0];
  if (c.result != 0) {
    ImageInfo read;
    std::string error;
    ASSERT_TRUE(ReadImage(path, &read, &error));
    expected.mode = kModeFirmware;
    expected.version = info.version;
    expected.firmware = Firmware{info.payloadSize, read.payloadCrc};
    if (c.takesImageSettings) {
      expected.settings = info.settings;
      expected.settings.flags.mapHdd = true;  // control flags are not in the image
    }
    if (c.variant == Variant::kWithStaged) expected.settings.vid = 0xABCD;
  }
  EXPECT_EQ(env_.ReadDevice(), expected);
}

INSTANTIATE_TEST_SUITE_P(Programming, VariantTest, ::testing::ValuesIn(kVariantCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ImageTest, ProgrammingWithStagedClearsTheStaging) {
  env_.UseSingleDevice(Series::kT7);
  const std::string path = env_.File("fw.bin");
  Write(path, MakeInfo(Series::kT7, false));
  ASSERT_EQ(entry::QZ_SetFWBinFilePath(path.c_str()), 1);
  ASSERT_EQ(entry::QZ_InitialCustomizedSettingTable(), 1);
  ASSERT_EQ(entry::QZ_EnableUpdateSN(kDev, 1), 1);
  ASSERT_EQ(entry::QZ_SetSerialNumStr(kDev, "AFTER"), 1);
  ASSERT_EQ(entry::QZ_FWUpdateProgrammingEX(kDev), 1);
  EXPECT_EQ(env_.ReadDevice().settings.serial, "AFTER");
  EXPECT_EQ(entry::QZ_UpdateCustomizedSetting(kDev), 0);
}

}  // namespace
}  // namespace sim
