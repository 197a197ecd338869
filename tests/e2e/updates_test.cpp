// The firmware updates: each variant programs the image and leaves the
// settings its own way; bad images and refused calls change nothing; odd
// paths go through unchanged.
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Lines = std::vector<std::string>;
using Fields = std::map<std::string, std::string>;

const char* const kNewVersion = "02.00.00.01";

const Fields kImageSettings = {
    {"vid", "1111"},          {"pid", "2222"},        {"manufacturer", "Img Makers"},
    {"product", "Img Disks"}, {"serial", "IMG00001"}, {"hdd-vendor", "IMGV"},
    {"hdd-product", "IMGD"},  {"timer", "120"},
};
const Fields kUserSettings = {
    {"vid", "1A2B"},          {"pid", "0C0D"},        {"manufacturer", "Demo Maker"},
    {"product", "Demo Disk"}, {"serial", "DEMO0001"}, {"hdd-vendor", "DEMO"},
    {"hdd-product", "DISK"},  {"timer", "300"},
};

Fields With(Fields fields, const Fields& changes) {
  for (const auto& change : changes) fields[change.first] = change.second;
  return fields;
}

Lines Ub(const std::string& path) { return {"-ub", path}; }
Lines Un(const std::string& path) { return {"-un", path}; }
Lines Ue(const std::string& path) {
  return {"-ue", "-f",        path, "-v",       "1A2B", "-p",   "0C0D", "-m", "Demo Maker",
          "-i",  "Demo Disk", "-s", "DEMO0001", "-n",   "DEMO", "DISK", "-t", "300"};
}

class UpdatesTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    initial_ = Device();
  }
  std::string Image(const std::string& series, bool withSettings,
                    const std::string& name = "fw.bin") {
    Lines args = {"--out", Path(name), "--series", series, "--version", kNewVersion};
    if (withSettings) {
      for (const auto& [field, value] : kImageSettings)
        args.insert(args.end(), {"--" + field, value});
    }
    MakeImage(args);
    return Path(name);
  }
  // The settings of the first device, as the control command shows them.
  Fields Device() {
    Fields fields;
    std::istringstream in(Sim({"show"}));
    for (std::string line; std::getline(in, line);) {
      const size_t colon = line.find(": ");
      if (line.rfind("  ", 0) != 0 || colon == std::string::npos) continue;
      const std::string field = line.substr(2, colon - 2);
      if (field != "firmware" && field != "series" && field != "mode") {
        fields[field] = line.substr(colon + 2);
      }
    }
    return fields;
  }
  Fields initial_;  // the device at reset
};

TEST_F(UpdatesTest, EachVariantLeavesTheSettingsItsWay) {
  const Fields programmed = With(initial_, {{"version", kNewVersion}});
  const Fields byImage = With(programmed, kImageSettings);
  const Fields byUser = With(programmed, kUserSettings);
  const struct {
    const char* name;
    Lines (*args)(const std::string&);
    bool imageSettings;
    std::string output;
    Fields t7;
    Fields other;
  } cases[] = {
      {"-ub, image with settings", Ub, true, "Update result: 1.\n", byImage, byImage},
      {"-ub, image without settings", Ub, false, "Update result: 1.\n", programmed, programmed},
      {"-un", Un, true, "", programmed, programmed},
      {"-ue", Ue, true, "", With(byUser, {{"manu-prod-ctl", "1"}, {"inquiry-ctl", "1"}}),
       With(byUser, {{"display-hdd", "1"}, {"map-hdd", "1"}, {"sn-from-nvram", "1"}})},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const auto& c : cases) {
      Fresh(series);
      const std::string where = series + " " + c.name;
      EXPECT_EQ(Run(c.args(Image(series, c.imageSettings))).output, c.output) << where;
      EXPECT_EQ(Device(), series == "t7" ? c.t7 : c.other) << where;
      EXPECT_EQ(Run({"-fv"}).output, "FW version: 02.00.00.01\n") << where;
    }
  }
}

TEST_F(UpdatesTest, OnlyTheNoSettingsUpdateNeedsRegularFirmware) {
  const struct {
    const char* mode;
    Lines (*args)(const std::string&);
    std::string output;
    bool programmed;
  } cases[] = {
      {"1", Un, "Internal code is not supported in current function\n", false},
      {"0", Un, "Current FW version is unknown \n", false},
      {"1", Ub, "Update result: 1.\n", true},
      {"1", Ue, "", true},
  };
  for (const auto& c : cases) {
    Fresh("other");
    const std::string image = Image("other", false);
    Sim({"set", "mode", c.mode});
    const std::string where = std::string(c.mode) + " " + c.args(image)[0];
    EXPECT_EQ(Run(c.args(image)).output, c.output) << where;
    EXPECT_EQ(Device().at("version"), c.programmed ? kNewVersion : "01.02.03.04") << where;
  }
}

TEST_F(UpdatesTest, BadImagesChangeNothing) {
  const struct {
    const char* name;
    std::string deviceSeries;
    std::string imageSeries;  // empty: no image at all
    bool corrupt;
  } images[] = {
      {"missing", "other", "", false},
      {"other image on a QZT7 bridge", "t7", "other", false},
      {"QZT7 image on another bridge", "other", "t7", false},
      {"corrupt", "other", "other", true},
      {"corrupt", "t7", "t7", true},
  };
  const struct {
    Lines (*args)(const std::string&);
    std::string suffix;  // what the front end adds after a mismatch
  } variants[] = {{Ub, "Update result: 0.\n"}, {Un, ""}, {Ue, ""}};
  for (const auto& image : images) {
    for (const auto& variant : variants) {
      Fresh(image.deviceSeries);
      const std::string path = Path("fw.bin");
      if (!image.imageSeries.empty()) Image(image.imageSeries, true);
      if (image.corrupt) MakeImage({"--corrupt", path});
      const std::string where = std::string(image.name) + " " + variant.args(path)[0];
      EXPECT_EQ(Run(variant.args(path)).output, image.imageSeries.empty()
                                                    ? "Invalid firmware path.\n"
                                                    : "Bin file not match \n" + variant.suffix)
          << where;
      EXPECT_EQ(Device(), initial_) << where;
    }
  }
}

TEST_F(UpdatesTest, RefusedCallsAndValuesStopTheUpdateOrAreReported) {
  const std::string image = Path("fw.bin");
  Lines longManufacturer = Ue(image);  // fits the tool's field, not the bridge's
  longManufacturer.insert(longManufacturer.end(), {"-m", std::string(70, 'm')});
  const struct {
    std::string fault;
    Lines args;
    std::string output;
    bool programmed;
  } cases[] = {
      {"QZ_InitialCustomizedSettingTable", Ub(image),
       "Initial NVRAM data setting fail.\nUpdate result: 1.\n", true},
      {"QZ_InitialCustomizedSettingTable", Un(image), "Initial NVRAM data setting fail.\n", true},
      {"QZ_InitialCustomizedSettingTable", Ue(image), "", false},
      {"QZ_SetFWBinFilePath", Ub(image), "Set firmware bin file path fail\nUpdate result: 0.\n",
       false},
      {"QZ_SetFWBinFilePath", Ue(image), "Set firmware bin file path fail\n", false},
      // The programming call's result goes through unchanged.
      {"QZ_FWUpdateProgramming=7", Ub(image), "Update result: 7.\n", false},
      {"QZ_FWUpdateProgramming=-3", Ub(image), "Update result: -3.\n", false},
      {"", longManufacturer, "", false},
  };
  for (const auto& c : cases) {
    Fresh("other");
    Image("other", false);
    SetFault(c.fault);
    EXPECT_EQ(Run(c.args).output, c.output) << c.fault << " " << c.args[0];
    SetFault("");
    EXPECT_EQ(Device(), c.programmed ? With(initial_, {{"version", kNewVersion}}) : initial_)
        << c.fault << " " << c.args[0];
  }
}

TEST_F(UpdatesTest, PathsWithBlanksAndOf255CharactersAreTaken) {
  const std::string prefix = Dir() + "/";
  const std::string longName = std::string(255 - prefix.size() - 4, 'p') + ".bin";
  ASSERT_EQ((prefix + longName).size(), 255u);
  for (const std::string& name : {std::string("fw image.bin"), longName}) {
    for (Lines (*args)(const std::string&) : {Ub, Un, Ue}) {
      Fresh("other");
      const std::string path = Image("other", false, name);
      EXPECT_EQ(Run(args(path)).output, args == Ub ? "Update result: 1.\n" : "") << path;
      EXPECT_EQ(Device().at("version"), kNewVersion) << args(path)[0] << " " << path;
    }
  }
}

TEST_F(UpdatesTest, RejectedCommandLinesTouchNoDevice) {
  const std::string image = Image("other", false);
  const std::string tooLongPath = Dir() + "/" + std::string(256 - Dir().size() - 1, 'p');
  const struct {
    Lines args;
    std::string output;
  } cases[] = {
      {{"-UN", Path("missing.bin")}, "Invalid firmware path.\n"},
      {{"-ue", image}, "Invalid input parameter!\n"},
      {{"-ue", "-x", "1"}, "Invalid input argument.\n"},
      {{"-ue", "-v", "12AB"}, "Invalid firmware path.\n"},
      {{"-ue", "-f", image, "-t", "x"}, "Invalid input parameter!\n"},
      {{"-ue", "-f", image, "-s", std::string(80, 's')}, "Invalid input parameter!\n"},
      {{"-ue", "-f", tooLongPath}, "Invalid input parameter!\n"},
  };
  for (const auto& c : cases) {
    ClearTrace();
    EXPECT_EQ(Run(c.args).output, c.output) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(DeviceCalls(), Lines{}) << c.args[0] << " " << c.args[1];
  }
  EXPECT_EQ(Device(), initial_);
}

}  // namespace
