// bridgesim and bridgesim-image as a person uses them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/control_command.h"
#include "sim/image_command.h"
#include "sim/image_format.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using testing::SimEnvironment;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Control(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = RunControlCommand(args, out, err);
  return {status, out.str(), err.str()};
}

Outcome Image(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = RunImageCommand(args, out, err);
  return {status, out.str(), err.str()};
}

class CommandTest : public ::testing::Test {
 protected:
  SimEnvironment env_;
};

struct FieldValue {
  const char* field;
  const char* set;
  const char* get;
};

TEST_F(CommandTest, SetThenGetEveryField) {
  const FieldValue cases[] = {
      {"series", "t7", "t7"},    {"mode", "1", "1"},
      {"version", "9.9", "9.9"}, {"vid", "abc", "0ABC"},
      {"pid", "FFFF", "FFFF"},   {"manufacturer", "A B", "A B"},
      {"product", "P", "P"},     {"serial", "S/N 1", "S/N 1"},
      {"hdd-vendor", "", ""},    {"hdd-product", "PRODUCT16CHARSXX", "PRODUCT16CHARSXX"},
      {"timer", "0", "0"},       {"manu-prod-ctl", "1", "1"},
      {"inquiry-ctl", "1", "1"}, {"display-hdd", "1", "1"},
      {"map-hdd", "1", "1"},     {"sn-from-nvram", "1", "1"},
  };
  for (const FieldValue& c : cases) {
    EXPECT_EQ(Control({"set", c.field, c.set}).status, 0) << c.field;
    Outcome get = Control({"get", c.field});
    EXPECT_EQ(get.status, 0) << c.field;
    EXPECT_EQ(get.out, std::string(c.get) + "\n") << c.field;
  }
}

TEST_F(CommandTest, RefusesValuesTheDeviceCannotHold) {
  const FieldValue cases[] = {
      {"series", "t8", ""},
      {"mode", "x", ""},
      {"vid", "12345", ""},
      {"hdd-vendor", "123456789", ""},
      {"timer", "-1", ""},
      {"map-hdd", "2", ""},
      {"version", "0123456789ABCDEF", ""},
  };
  env_.UseSingleDevice(Series::kOther);
  const std::string before = env_.ReadText(env_.statePath());
  for (const FieldValue& c : cases) {
    Outcome run = Control({"set", c.field, c.set});
    EXPECT_EQ(run.status, 1) << c.field;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_EQ(env_.ReadText(env_.statePath()), before);
}

TEST_F(CommandTest, AddRemoveAndDeviceIndex) {
  EXPECT_EQ(Control({"add", "--series", "t7"}).out, "sim1\n");
  EXPECT_EQ(Control({"get", "--device", "1", "series"}).out, "t7\n");
  EXPECT_EQ(Control({"set", "--device", "1", "serial", "X1"}).status, 0);
  EXPECT_EQ(Control({"get", "--device", "0", "serial"}).out, "SIM0000000001\n");
  EXPECT_EQ(Control({"remove", "0"}).status, 0);
  EXPECT_EQ(Control({"get", "path"}).status, 1);
  EXPECT_EQ(Control({"get", "serial"}).out, "X1\n");
  EXPECT_EQ(Control({"add"}).out, "sim0\n");  // the lowest free path
  EXPECT_EQ(Control({"remove", "5"}).status, 1);
  EXPECT_EQ(Control({"remove-all"}).status, 0);
  EXPECT_EQ(Control({"show"}).out, "state: " + env_.statePath() + "\nno devices\n");
  EXPECT_EQ(Control({"get", "vid"}).status, 1);
}

TEST_F(CommandTest, ResetRepairsACorruptState) {
  { std::ofstream(env_.statePath()) << "garbage"; }
  Outcome show = Control({"show"});
  EXPECT_EQ(show.status, 1);
  EXPECT_NE(show.err.find("corrupt"), std::string::npos);
  EXPECT_EQ(Control({"reset"}).status, 0);
  EXPECT_EQ(env_.ReadDevice(), DefaultDevice(0));
}

TEST_F(CommandTest, MisuseExitsTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"bogus"},
      {"show", "x"},
      {"add", "--series"},
      {"remove"},
      {"remove", "-1"},
      {"set", "vid"},
      {"get"},
      {"get", "--device", "x", "vid"},
      {"add", "--series", "t9"},
  };
  for (const auto& args : cases) {
    Outcome run = Control(args);
    EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
  }
}

TEST_F(CommandTest, StatePathAndTrace) {
  EXPECT_EQ(Control({"state-path"}).out, env_.statePath() + "\n");
  EXPECT_EQ(Control({"trace"}).status, 1);  // no trace variable
  const std::string trace = env_.EnableTrace();
  { std::ofstream(trace) << "QZ_X() = 1\n"; }
  EXPECT_EQ(Control({"trace"}).out, "QZ_X() = 1\n");
}

TEST_F(CommandTest, ImageWithoutSettingOptionsHasNoSettingsBlock) {
  const std::string path = env_.File("plain.bin");
  ASSERT_EQ(
      Image({"--out", path, "--series", "t7", "--version", "1.0", "--payload-size", "10"}).status,
      0);
  ImageInfo info;
  std::string error;
  ASSERT_TRUE(ReadImage(path, &info, &error)) << error;
  EXPECT_EQ(info.series, Series::kT7);
  EXPECT_EQ(info.version, "1.0");
  EXPECT_FALSE(info.hasSettings);
  EXPECT_EQ(info.payloadSize, 10u);
}

TEST_F(CommandTest, ImageSettingsTakeDefaultsForOptionsNotGiven) {
  const std::string path = env_.File("set.bin");
  ASSERT_EQ(Image({"--out", path, "--series", "other", "--version", "2.0", "--vid", "beef",
                   "--hdd-product", "HP", "--timer", "30"})
                .status,
            0);
  ImageInfo info;
  std::string error;
  ASSERT_TRUE(ReadImage(path, &info, &error)) << error;
  ASSERT_TRUE(info.hasSettings);
  Settings expected = DefaultSettings();
  expected.vid = 0xBEEF;
  expected.hddProduct = "HP";
  expected.standbyTimer = 30;
  EXPECT_EQ(info.settings, expected);
  EXPECT_EQ(Image({"--corrupt", path}).status, 0);
  EXPECT_FALSE(ReadImage(path, &info, &error));
}

TEST_F(CommandTest, ImageMisuse) {
  const std::string path = env_.File("x.bin");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--out", path, "--series", "other"},
      {"--out", path, "--version", "1"},
      {"--out", path, "--series", "t6", "--version", "1"},
      {"--out", path, "--series", "t7", "--version", "1", "--serial", std::string(32, 's')},
      {"--out", path, "--series", "t7", "--version", "1", "--payload-size", "-5"},
      {"--out", path, "--series", "t7", "--version", "1", "--colour", "red"},
      {"--out", path, "--series", "t7", "--version"},
  };
  for (const auto& args : cases) EXPECT_EQ(Image(args).status, 2);
}

}  // namespace
}  // namespace sim
