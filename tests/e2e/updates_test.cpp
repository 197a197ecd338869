// The firmware updates against the simulated bridge: each variant programs the
// image and leaves the settings its own way; bad images, refused calls and odd
// paths change nothing or go through unchanged.
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/tool_harness.h"

namespace {

using Lines = std::vector<std::string>;
using Fields = std::map<std::string, std::string>;

const char* const kNewVersion = "02.00.00.01";

// What the simulated bridge holds at reset.
const Fields kDeviceSettings = {
    {"version", "01.02.03.04"},
    {"vid", "3A5C"},
    {"pid", "0101"},
    {"manufacturer", "QZ Sim"},
    {"product", "Sim Bridge"},
    {"serial", "SIM0000000001"},
    {"hdd-vendor", "SIMDISK"},
    {"hdd-product", "VIRTUAL HDD"},
    {"timer", "600"},
    {"manu-prod-ctl", "0"},
    {"inquiry-ctl", "0"},
    {"display-hdd", "0"},
    {"map-hdd", "0"},
    {"sn-from-nvram", "0"},
};

Fields With(Fields fields, const Fields& changes) {
  for (const auto& change : changes) fields[change.first] = change.second;
  return fields;
}

// The settings an image carries (see ImageArgs) and those the user gives.
const Fields kImageSettings = {
    {"vid", "1111"},
    {"pid", "2222"},
    {"manufacturer", "Img Maker"},
    {"product", "Img Disk"},
    {"serial", "IMG0001"},
    {"hdd-vendor", "IMGV"},
    {"hdd-product", "IMG HDD"},
    {"timer", "120"},
};
const Fields kUserSettings = {
    {"vid", "1A2B"},          {"pid", "0C0D"},        {"manufacturer", "Demo Maker"},
    {"product", "Demo Disk"}, {"serial", "DEMO0001"}, {"hdd-vendor", "DEMO"},
    {"hdd-product", "DISK"},  {"timer", "300"},
};
const Lines kUserOptions = {"-v", "1A2B",     "-p", "0C0D", "-m",   "Demo Maker", "-i", "Demo Disk",
                            "-s", "DEMO0001", "-n", "DEMO", "DISK", "-t",         "300"};

Lines Ub(const std::string& path) { return {"-ub", path}; }
Lines Un(const std::string& path) { return {"-un", path}; }
Lines Ue(const std::string& path) {
  Lines args = {"-ue", "-f", path};
  args.insert(args.end(), kUserOptions.begin(), kUserOptions.end());
  return args;
}

class UpdatesTest : public ToolTest {
 protected:
  // Makes an image for the series, with a settings block when asked.
  std::string Image(const std::string& name, const std::string& series, bool withSettings) {
    const std::string path = Path(name);
    Lines args = {"--out", path, "--series", series, "--version", kNewVersion};
    if (withSettings) {
      const Lines settings = {"--vid",          "1111",      "--pid",        "2222",
                              "--manufacturer", "Img Maker", "--product",    "Img Disk",
                              "--serial",       "IMG0001",   "--hdd-vendor", "IMGV",
                              "--hdd-product",  "IMG HDD",   "--timer",      "120"};
      args.insert(args.end(), settings.begin(), settings.end());
    }
    MakeImage(args);
    return path;
  }
  // Every field of the first device, as the control command shows them.
  Fields Device() {
    Fields fields;
    std::istringstream in(Sim({"show"}));
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("  ", 0) != 0) continue;
      const size_t colon = line.find(": ");
      if (colon == std::string::npos) continue;
      fields[line.substr(2, colon - 2)] = line.substr(colon + 2);
    }
    fields.erase("firmware");
    fields.erase("series");
    fields.erase("mode");
    return fields;
  }
  // The library calls after the device list, which every run starts with.
  Lines DeviceCalls() {
    Lines calls;
    for (const std::string& line : Trace()) {
      if (line.rfind("QZ_GetDeviceList(", 0) != 0) calls.push_back(line);
    }
    return calls;
  }
  void Fresh(const std::string& series) {
    Sim({"reset"});
    if (series == "t7") Sim({"set", "series", "t7"});
    ClearTrace();
  }
  void ExpectRun(const Lines& args, const std::string& output, const std::string& where) {
    const ToolResult result = Run(args);
    EXPECT_EQ(result.output, output) << where;
    EXPECT_EQ(result.errors, "") << where;
    EXPECT_EQ(result.status, 0) << where;
  }
};

TEST_F(UpdatesTest, EachVariantLeavesTheSettingsItsWay) {
  struct VariantCase {
    const char* name;
    Lines (*args)(const std::string&);
    bool imageSettings;
    std::string output;
    Fields t7;
    Fields other;
  };
  const Fields programmed = With(kDeviceSettings, {{"version", kNewVersion}});
  const Fields byImage = With(programmed, kImageSettings);
  const Fields byUser = With(programmed, kUserSettings);
  const VariantCase cases[] = {
      {"-ub, image with settings", Ub, true, "Update result: 1.\n", byImage, byImage},
      {"-ub, image without settings", Ub, false, "Update result: 1.\n", programmed, programmed},
      {"-un", Un, true, "", programmed, programmed},
      {"-ue", Ue, true, "", With(byUser, {{"manu-prod-ctl", "1"}, {"inquiry-ctl", "1"}}),
       With(byUser, {{"display-hdd", "1"}, {"map-hdd", "1"}, {"sn-from-nvram", "1"}})},
  };
  for (const std::string series : {"other", "t7"}) {
    for (const VariantCase& c : cases) {
      Fresh(series);
      const std::string image = Image("fw.bin", series, c.imageSettings);
      const std::string where = series + " " + c.name;
      ExpectRun(c.args(image), c.output, where);
      EXPECT_EQ(Device(), series == "t7" ? c.t7 : c.other) << where;
      EXPECT_EQ(Run({"-fv"}).output, "FW version: 02.00.00.01\n") << where;
    }
  }
}

TEST_F(UpdatesTest, OnlyTheNoSettingsUpdateNeedsRegularFirmware) {
  struct ModeCase {
    const char* mode;
    Lines (*args)(const std::string&);
    std::string output;
    bool programmed;
  };
  const ModeCase cases[] = {
      {"1", Un, "Internal code is not supported in current function\n", false},
      {"0", Un, "Current FW version is unknown \n", false},
      {"1", Ub, "Update result: 1.\n", true},
      {"1", Ue, "", true},
  };
  for (const ModeCase& c : cases) {
    Fresh("other");
    const std::string image = Image("fw.bin", "other", false);
    Sim({"set", "mode", c.mode});
    const Fields before = Device();
    const std::string where = std::string(c.mode) + " " + c.args(image)[0];
    ExpectRun(c.args(image), c.output, where);
    if (c.programmed) {
      EXPECT_EQ(Run({"-fv"}).output, "FW version: 02.00.00.01\n") << where;
    } else {
      EXPECT_EQ(Device(), before) << where;
      EXPECT_EQ(DeviceCalls(), Lines{"QZ_GetRunningCodeMode(\"sim0\", out) = 1"}) << where;
    }
  }
}

TEST_F(UpdatesTest, BadImagesChangeNothing) {
  struct ImageCase {
    const char* name;
    std::string deviceSeries;
    std::string imageSeries;  // empty: no image is made
    bool corrupt;
  };
  const ImageCase images[] = {
      {"missing", "other", "", false},
      {"other image on a QZT7 bridge", "t7", "other", false},
      {"QZT7 image on another bridge", "other", "t7", false},
      {"corrupt", "other", "other", true},
      {"corrupt", "t7", "t7", true},
  };
  struct VariantCase {
    Lines (*args)(const std::string&);
    std::string suffix;  // what the front end adds after a mismatch
  };
  const VariantCase variants[] = {{Ub, "Update result: 0.\n"}, {Un, ""}, {Ue, ""}};
  for (const ImageCase& image : images) {
    for (const VariantCase& variant : variants) {
      Fresh(image.deviceSeries);
      std::string path = Path("fw.bin");
      if (!image.imageSeries.empty()) Image("fw.bin", image.imageSeries, true);
      if (image.corrupt) MakeImage({"--corrupt", path});
      ClearTrace();
      const std::string where =
          std::string(image.name) + " " + image.deviceSeries + " " + variant.args(path)[0];
      const std::string output = image.imageSeries.empty()
                                     ? "Invalid firmware path.\n"
                                     : "Bin file not match \n" + variant.suffix;
      ExpectRun(variant.args(path), output, where);
      EXPECT_EQ(Device(), kDeviceSettings) << where;
      for (const std::string& call : DeviceCalls()) {
        EXPECT_EQ(call.find("QZ_SetFWBinFilePath"), std::string::npos) << where << ": " << call;
      }
    }
  }
}

TEST_F(UpdatesTest, RefusedLibraryCallsStopTheUpdateOrAreReported) {
  struct FaultCase {
    std::string fault;
    Lines (*args)(const std::string&);
    std::string output;
    bool programmed;
    std::string lastCall;  // the last call made, when it matters
  };
  const FaultCase cases[] = {
      {"QZ_InitialCustomizedSettingTable", Ub,
       "Initial NVRAM data setting fail.\nUpdate result: 1.\n", true, ""},
      {"QZ_InitialCustomizedSettingTable", Un, "Initial NVRAM data setting fail.\n", true, ""},
      {"QZ_InitialCustomizedSettingTable", Ue, "", false, "QZ_IsQZT7Series(\"sim0\") = 0"},
      {"QZ_SetScsiPidString", Ue, "", false, "QZ_SetScsiPidString(\"sim0\", \"DISK\") = 0"},
      {"QZ_EnableUpdateVID", Ue, "", false, "QZ_EnableUpdateVID(\"sim0\", 1) = 0"},
      {"QZ_SetProdString", Ue, "", false, "QZ_SetProdString(\"sim0\", \"Demo Disk\") = 0"},
      {"QZ_SetFWBinFilePath", Ub, "Set firmware bin file path fail\nUpdate result: 0.\n", false,
       ""},
      {"QZ_SetFWBinFilePath", Ue, "Set firmware bin file path fail\n", false, ""},
      // The programming call's result goes through unchanged.
      {"QZ_FWUpdateProgramming=7", Ub, "Update result: 7.\n", false, ""},
      {"QZ_FWUpdateProgramming=-3", Ub, "Update result: -3.\n", false, ""},
      {"QZ_FWUpdateProgramming", Ub, "Update result: 0.\n", false, ""},
  };
  for (const FaultCase& c : cases) {
    Fresh("other");
    const std::string image = Image("fw.bin", "other", false);
    SetFault(c.fault);
    const std::string where = c.fault + " " + c.args(image)[0];
    ExpectRun(c.args(image), c.output, where);
    SetFault("");
    EXPECT_EQ(Device(),
              c.programmed ? With(kDeviceSettings, {{"version", kNewVersion}}) : kDeviceSettings)
        << where;
    if (!c.lastCall.empty()) {
      const Lines calls = DeviceCalls();
      ASSERT_FALSE(calls.empty()) << where;
      EXPECT_EQ(calls.back(), c.lastCall) << where;
    }
  }
}

TEST_F(UpdatesTest, AValueTheBridgeRefusesStopsTheUpdateSilently) {
  Fresh("other");
  const std::string image = Image("fw.bin", "other", false);
  // 70 characters fit the tool's field but not the bridge's manufacturer string.
  const std::string manufacturer(70, 'm');
  Lines args = Ue(image);
  args.insert(args.end(), {"-m", manufacturer});
  ExpectRun(args, "", "long manufacturer");
  EXPECT_EQ(Device(), kDeviceSettings);
  const Lines calls = DeviceCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "QZ_SetManuStr(\"sim0\", \"" + manufacturer + "\") = 0");
}

TEST_F(UpdatesTest, ImagePathsReachTheLibraryUnchanged) {
  // A path of 255 characters: the longest the settings update takes.
  const std::string prefix = Dir() + "/";
  const std::string longPath = prefix + std::string(255 - prefix.size() - 4, 'p') + ".bin";
  ASSERT_EQ(longPath.size(), 255u);
  const std::string blankPath = Path("fw image.bin");
  for (const std::string& path : {blankPath, longPath}) {
    for (Lines (*args)(const std::string&) : {Ub, Un, Ue}) {
      Fresh("other");
      MakeImage({"--out", path, "--series", "other", "--version", kNewVersion});
      ClearTrace();
      const std::string where = args(path)[0] + " " + path;
      ExpectRun(args(path), args == Ub ? "Update result: 1.\n" : "", where);
      const Lines calls = DeviceCalls();
      ASSERT_GE(calls.size(), 2u) << where;
      const size_t first = args == Un ? 1 : 0;  // -un asks for the running code first
      EXPECT_EQ(calls[first], "QZ_CheckLoadBinFileMatch(\"sim0\", \"" + path + "\") = 1") << where;
      EXPECT_EQ(calls[first + 1], "QZ_SetFWBinFilePath(\"" + path + "\") = 1") << where;
      EXPECT_EQ(Device().at("version"), kNewVersion) << where;
    }
  }
}

TEST_F(UpdatesTest, RejectedCommandLinesTouchNoDevice) {
  const std::string image = Path("fw.bin");
  const std::string tooLongPath = Dir() + "/" + std::string(256 - Dir().size() - 1, 'p');
  struct RejectCase {
    Lines args;
    std::string output;
  };
  const RejectCase cases[] = {
      {{"-ub"}, "Please input parameter.\n"},
      {{"-UN", Path("missing.bin")}, "Invalid firmware path.\n"},
      {{"-ue", image}, "Invalid input parameter!\n"},
      {{"-ue", "-x", "1"}, "Invalid input argument.\n"},
      {{"-ue", "-n", "A"}, "Please input parameter.\n"},
      {{"-ue", "-v", "12AB"}, "Invalid firmware path.\n"},
      {{"-ue", "-f", image, "-t", "x"}, "Invalid input parameter!\n"},
      {{"-ue", "-f", image, "-s", std::string(80, 's')}, "Invalid input parameter!\n"},
      {{"-ue", "-f", tooLongPath}, "Invalid input parameter!\n"},
  };
  Fresh("other");
  Image("fw.bin", "other", false);
  for (const RejectCase& c : cases) {
    ClearTrace();
    ExpectRun(c.args, c.output, c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
    EXPECT_EQ(DeviceCalls(), Lines{}) << c.args[0];
  }
  EXPECT_EQ(Device(), kDeviceSettings);
}

}  // namespace
