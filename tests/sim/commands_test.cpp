// bridgesim and bridgesim-image as a person uses them.
#include <sstream>
#include <string>
#include <vector>

#include "sim/control_command.h"
#include "sim/image_command.h"
#include "sim/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

struct Outcome {
  int status;
  std::string out, err;
};

template <int (*Command)(const std::vector<std::string>&, std::ostream&, std::ostream&)>
Outcome Run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = Command(args, out, err);
  return {status, out.str(), err.str()};
}
const auto Control = Run<RunControlCommand>;
const auto Image = Run<RunImageCommand>;

TEST_F(SimTest, SetThenGetEveryField) {
  const std::pair<const char*, const char*> cases[] = {
      {"series", "t7"},       {"mode", "1"},          {"version", "9.9"},
      {"vid", "abc"},         {"pid", "FFFF"},        {"manufacturer", "A B"},
      {"product", "P"},       {"serial", "S/N 1"},    {"hdd-vendor", ""},
      {"timer", "0"},         {"manu-prod-ctl", "1"}, {"hdd-product", "PRODUCT16CHARSXX"},
      {"inquiry-ctl", "1"},   {"display-hdd", "1"},   {"map-hdd", "1"},
      {"sn-from-nvram", "1"},
  };
  for (const auto& [field, value] : cases) {
    EXPECT_EQ(Control({"set", field, value}).status, 0) << field;
    const Outcome get = Control({"get", field});
    EXPECT_EQ(get.status, 0) << field;
    EXPECT_EQ(get.out, std::string(field == std::string("vid") ? "0ABC" : value) + "\n");
  }
}

TEST_F(SimTest, SetRefusesValuesTheDeviceCannotHold) {
  const std::pair<const char*, const char*> cases[] = {
      {"series", "t8"},
      {"mode", "x"},
      {"vid", "12345"},
      {"hdd-vendor", "123456789"},
      {"timer", "-1"},
      {"map-hdd", "2"},
      {"version", "0123456789ABCDEF"},
  };
  UseSingleDevice(Series::kOther);
  const std::string before = ReadText(StatePath());
  for (const auto& [field, value] : cases) {
    const Outcome run = Control({"set", field, value});
    EXPECT_EQ(run.status, 1) << field;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_EQ(ReadText(StatePath()), before);
}

TEST_F(SimTest, AddRemoveAndDeviceIndex) {
  EXPECT_EQ(Control({"add", "--series", "t7"}).out, "sim1\n");
  EXPECT_EQ(Control({"get", "--device", "1", "series"}).out, "t7\n");
  EXPECT_EQ(Control({"get", "--device", "1", "serial"}).out, "SIM0000000002\n");
  EXPECT_EQ(Control({"set", "--device", "1", "serial", "X1"}).status, 0);
  EXPECT_EQ(Control({"get", "--device", "0", "serial"}).out, "SIM0000000001\n");
  EXPECT_EQ(Control({"remove", "0"}).status, 0);
  EXPECT_EQ(Control({"get", "serial"}).out, "X1\n");
  EXPECT_EQ(Control({"add"}).out, "sim0\n");  // the lowest free path
  EXPECT_EQ(Control({"remove", "5"}).status, 1);
  EXPECT_EQ(Control({"remove-all"}).status, 0);
  EXPECT_EQ(Control({"show"}).out, "state: " + StatePath() + "\nno devices\n");
  EXPECT_EQ(Control({"get", "vid"}).status, 1);
}

TEST_F(SimTest, ResetRepairsACorruptState) {
  std::ofstream(StatePath()) << "garbage";
  const Outcome show = Control({"show"});
  EXPECT_EQ(show.status, 1);
  EXPECT_NE(show.err.find("corrupt"), std::string::npos);
  EXPECT_EQ(Control({"reset"}).status, 0);
  EXPECT_EQ(ReadDevice(), DefaultDevice(0));
}

TEST_F(SimTest, ControlMisuseExitsTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"bogus"},
      {"show", "x"},
      {"add", "--series"},
      {"add", "--series", "t9"},
      {"remove"},
      {"remove", "-1"},
      {"set", "vid"},
      {"get"},
      {"get", "--device", "x", "vid"},
  };
  for (const auto& args : cases) {
    const Outcome run = Control(args);
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
  }
}

TEST_F(SimTest, StatePathAndTrace) {
  EXPECT_EQ(Control({"state-path"}).out, StatePath() + "\n");
  EXPECT_EQ(Control({"trace"}).status, 1);  // no trace variable
  std::ofstream(EnableTrace()) << "QZ_X() = 1\n";
  EXPECT_EQ(Control({"trace"}).out, "QZ_X() = 1\n");
}

TEST_F(SimTest, ImageSettingsBlockOnlyWithASettingOption) {
  const std::string path = File("fw.bin");
  ImageInfo info;
  std::string error;
  ASSERT_EQ(
      Image({"--out", path, "--series", "t7", "--version", "1.0", "--payload-size", "10"}).status,
      0);
  ASSERT_TRUE(ReadImage(path, &info, &error)) << error;
  EXPECT_EQ(info.series, Series::kT7);
  EXPECT_EQ(info.version, "1.0");
  EXPECT_FALSE(info.hasSettings);
  EXPECT_EQ(info.payloadSize, 10u);

  ASSERT_EQ(Image({"--out", path, "--series", "other", "--version", "2.0", "--vid", "beef",
                   "--hdd-product", "HP", "--timer", "30"})
                .status,
            0);
  ASSERT_TRUE(ReadImage(path, &info, &error)) << error;
  Settings expected = DefaultSettings();  // for the options not given
  expected.vid = 0xBEEF;
  expected.hddProduct = "HP";
  expected.standbyTimer = 30;
  EXPECT_TRUE(info.hasSettings);
  EXPECT_EQ(info.settings, expected);
  EXPECT_EQ(info.payloadSize, 65536u);
  EXPECT_EQ(Image({"--corrupt", path}).status, 0);
  EXPECT_FALSE(ReadImage(path, &info, &error));
}

TEST_F(SimTest, ImageRefusesBadOptionsAndWritesNothing) {
  const std::string out = File("x.bin");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--out", out, "--series", "other"},
      {"--out", out, "--version", "1"},
      {"--out", out, "--series", "t6", "--version", "1"},
      {"--out", out, "--series", "t7", "--version", std::string(16, '1')},
      {"--out", out, "--series", "t7", "--version", ""},
      {"--out", out, "--series", "t7", "--version", "1", "--serial", std::string(32, 's')},
      {"--out", out, "--series", "t7", "--version", "1", "--hdd-vendor", "NINECHARS"},
      {"--out", out, "--series", "t7", "--version", "1", "--timer", "-1"},
      {"--out", out, "--series", "t7", "--version", "1", "--payload-size", "-5"},
      {"--out", out, "--series", "t7", "--version", "1", "--colour", "red"},
      {"--out", out, "--series", "t7", "--version"},
  };
  for (const auto& args : cases) {
    EXPECT_NE(Image(args).status, 0) << ::testing::PrintToString(args);
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace sim
