// The production line over the fake: options, profiles, the counter, each
// unit's outcome with its output and record, stop requests; the clock, the
// command line and the system's SHA-256 it relies on.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "line/long_options.h"
#include "line/run_image.h"
#include "line/serial_counter.h"
#include "platform/digest.h"
#include "platform/process.h"
#include "platform/stop_request.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

class LineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/bridgefw-line-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
    std::ofstream(dir_ + "fw.bin") << "image";
  }
  void TearDown() override {
    UninstallFakeLibrary();
    EXPECT_EQ(std::system(("rm -rf " + dir_).c_str()), 0);
  }
  std::string Profile(const std::string& text) {
    std::ofstream(dir_ + "p.toml") << text;
    return dir_ + "p.toml";
  }
  // The tool's long-option run over a fresh fake with `devices` listed.
  int Run(std::vector<std::string> args, const std::string& faults = "", int devices = 1,
          const std::function<void()>& setup = nullptr) {
    InstallFakeLibrary(faults);
    Fake().devices = devices;
    sdk::ApiTable.QZ_GetDeviceList(runtime::DeviceList, &runtime::deviceCount);
    if (setup) setup();
    Fake().calls.clear();
    args.insert(args.begin(), "bridgefw");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    ConsoleCapture capture;
    line::LineRun run;
    const std::optional<int> ended = line::PrepareLongOptions(argv.data(), &run);
    const int status = ended                      ? *ended
                       : runtime::deviceCount > 0 ? line::RunLongOptions(run)
                                                  : line::RunLongOptionsWithoutDevice(run);
    out_ = capture.Output();
    return status;
  }
  std::string dir_, out_;
};

TEST_F(LineTest, ProfileFaultsNameKeyAndLineAndTouchNothing) {
  // A key that sorts after every other fails last: "X\nzzz = 1" shows X taken.
  const std::string braces =
      "1: serial: takes one {n} or {n:WIDTH} (WIDTH 1 to 99) and no other braces";
  const std::string counter =
      "1: serial_start: must be a whole number from 0 to 4611686018427387903";
  const std::string taken = "2: zzz: unknown key", noFile = ": No such file or directory";
  const std::string longest(255 - dir_.size(), 'x');  // with the folder, the longest path
  const struct {
    std::string text, why;
  } cases[] = {
      {"vid = \"12345\"", "1: vid: must be 1 to 4 hex digits"},
      {"pid = \"x1\"", "1: pid: must be 1 to 4 hex digits"},
      {"\ncolour = 1", "2: colour: unknown key"},
      {"[vid]", "1: vid: must be a text"},
      {"timer = -1", "1: timer: must be a whole number from 0 to 2147483647"},
      {"timer = 2147483648", "1: timer: must be a whole number from 0 to 2147483647"},
      {"timer = \"1\"", "1: timer: must be a whole number from 0 to 2147483647"},
      {"timer = 0\nzzz = 1", taken},
      {"timer = 2147483647\nzzz = 1", taken},
      {"serial_start = -1", counter},
      {"serial_start = 4611686018427387904", counter},
      {"serial_start = \"1\"", counter},
      {"serial_start = 0\nzzz = 1", taken},
      {"serial_start = 4611686018427387903\nzzz = 1", taken},
      {"product = \"a\\u007Fb\"", "1: product: must be printable ASCII text"},
      {"product = \" a~\"\nzzz = 1", taken},
      {"serial = \"A{n:78}\"\nzzz = 1", taken},
      {"serial = \"A{n:10}B\"\nzzz = 1", taken},
      {"serial = \"A}\"", braces},
      {"serial = \"{n\"", braces},
      {"serial = \"{n:}\"", braces},
      {"serial = \"{n:100}\"", braces},
      {"serial = \"{n:1a}\"", braces},
      {"serial = \"{n:a1}\"", braces},
      {"serial = \"{N}\"", braces},
      {"image = 5", "1: image: must be a text"},
      {"image = \"\"", "1: image: must be a path of 1 to 255 characters"},
      {"image = \"" + longest + "x\"", "1: image: must be a path of 1 to 255 characters"},
      {"image = \"" + longest + "\"", "1: image: cannot open " + dir_ + longest + noFile},
      {"image = \"a\\u007F\"", "1: image: must be printable text"},
      {"image = \"\\\\no ne.bin\"", "1: image: cannot open \\no ne.bin" + noFile},
      {"image = \"C:none.bin\"", "1: image: cannot open C:none.bin" + noFile},
      {"\nhdd2 = \"B\"", "2: hdd2: needs hdd1 too"},
      {"image = \"fw.bin\"\nhdd1 = \"A\"\nhdd2 = \"\"",
       "2: hdd1, hdd2: the update with an image takes no empty HDD string"},
      {"product = 5", "1: product: must be a text"},
      {"product = \"a\\tb\"", "1: product: must be printable ASCII text"},
      {"manufacturer = \"Acm\u00e9\"", "1: manufacturer: must be printable ASCII text"},
      {"product = \"\U0001F600\"", "1: product: must be printable ASCII text"},
      {"serial = \"SN\u00e9{n}\"", "1: serial: must be printable ASCII text"},
      {"serial = \"A{n:80}\"", "1: serial: is longer than 79 with its number at its width"},
      {"serial = \"{n:0}\"", braces},
      {"\nmanufacturer = \"a\"\n\"manufacturer\" = \"b\"", "3: manufacturer: given twice"},
      {"\xFF\xFE", "0: UTF-16: save the profile as UTF-8"},
      {"\xFE\xFFv", "0: UTF-16: save the profile as UTF-8"},
      {"manufacturer = \"\"", "1: manufacturer: is empty"},
      {"serial = \"A{x}\"", braces},
      {"serial = \"{n}{n}\"", braces},
      {"serial = \"A\"\nserial_start = 3", "2: serial_start: needs a serial with {n}"},
      {"serial = \"A\"\nserial_end = 3", "2: serial_end: needs a serial with {n}"},
      {"serial = \"A{n}\"\nserial_start = 5\nserial_end = 4",
       "3: serial_end: is below serial_start"},
      {"hdd2 = \"B\"\n\nhdd1 = \"A\"\nproduct = \"P\"\nhdd3 = 1", "5: hdd3: unknown key"},
      {"vid = \"1\"\nhdd1 = \"A\"", "2: hdd1: needs hdd2 too"},
      {"image = \"fw.bin\"\nvid = \"1\"",
       "1: image: with settings it needs hdd1 and hdd2 (the update "
       "writes both, and a unit's own cannot be read back apart)"},
      {"image = \"fw.bin\"\nhdd1 = \"\"\nhdd2 = \"B\"",
       "2: hdd1, hdd2: the update with an image takes no empty HDD string"},
      {"image = \"nothing.bin\"", "1: image: cannot open " + dir_ + "nothing.bin" + noFile},
      {"# nothing\n",
       "1: names none of image, vid, pid, manufacturer, product, serial, hdd1, hdd2, timer"},
      {"vid = ", "1: "},
  };
  for (const auto& c : cases) {
    const std::string path = Profile(c.text);
    EXPECT_EQ(Run({"--apply", path}), line::kLineUsageError) << c.text;
    EXPECT_EQ(out_.rfind(path + ":" + c.why, 0), 0u) << out_;
    EXPECT_TRUE(Fake().calls.empty());
  }
  const std::string longText = "manufacturer = \"" + std::string(80, 'M') + "\"";
  EXPECT_EQ(Run({"--apply", Profile(longText)}), line::kLineUsageError);
  EXPECT_EQ(out_, dir_ + "p.toml:1: manufacturer: is longer than 79\n");
  // A file that cannot be read says what the system said.
  const std::string none = dir_ + "none.toml";
  for (const auto& [path, why] : std::vector<std::pair<std::string, std::string>>{
           {dir_, dir_ + ":0: " + dir_ + " is not a regular file"},
           {none, none + ":0: cannot open " + none + ": No such file or directory"},
           {"", ":0: the profile's path is empty"}}) {
    EXPECT_EQ(Run({"--apply", path}), line::kLineUsageError);
    EXPECT_EQ(out_, why + "\n");
  }
}

const char* const kReads[] = {"QZ_IsQZT7Series",         "QZ_GetRunningCodeMode",
                              "QZ_GetFWVersion",         "QZ_GetVIDfromFlash",
                              "QZ_GetPIDfromFlash",      "QZ_GetManuStrfromFlash",
                              "QZ_GetProdStrfromFlash",  "QZ_GetSNfromFlash",
                              "QZ_GetHDDStrfromFlash",   "QZ_GetStandbyTimerfromFlash",
                              "QZ_CheckLoadBinFileMatch"};

// The fake writes nothing: a profile asking what the unit holds passes.
TEST_F(LineTest, EachUnitOutcomeInOutputRecordAndStatus) {
  const std::string head = "[1/1] dev0: reading 01.02.03.04 ... PASS (0.0 s)\n";
  const std::string one = "1 unit: 1 passed, 0 failed\n", none = "1 unit: 0 passed, 1 failed\n";
  const struct {
    const char* profile;
    const char* faults;
    bool dryRun;
    int status;
    std::string output;
    const char* record;  // a part of the record line; null: no record
  } cases[] = {
      {"vid = \"1a2b\"\nserial = \"U-{n:3}\"", "", false, 0,
       head +
           "[1/1] dev0: serial U-001 ... PASS (0.0 s)\n[1/1] dev0: writing settings ... PASS "
           "(0.0 s)\n[1/1] dev0: verifying ... PASS (0.0 s)\n" +
           one,
       "\"serial\":\"U-001\",\"serial_number\":1,\"before\":{\"version\":\"01.02.03.04\",\"vid\":"
       "\"1A2B\",\"pid\":"
       "\"00C4\",\"manufacturer\":\"Maker\",\"product\":\"Bridge\",\"serial\":\"U-001\",\"hdd\":"
       "\"HDD STRING\",\"timer\":300},\"after\":"},
      // A failed write records what the unit still answers; a field it does not, is left out.
      {"timer = 300", "QZ_UpdateCustomizedSetting,QZ_GetPIDfromFlash@2", false, 1,
       head +
           "[1/1] dev0: writing settings ... FAIL (0.0 s)\n  failed call: "
           "QZ_UpdateCustomizedSetting\n  after: pid not read (QZ_GetPIDfromFlash failed)\n" +
           none,
       "\"after\":{\"version\":\"01.02.03.04\",\"vid\":\"1A2B\",\"manufacturer\":\"Maker\","
       "\"product\":\"Bridge\",\"serial\":\"U-001\",\"hdd\":\"HDD STRING\",\"timer\":300},"
       "\"result\":\"fail\",\"failed_step\":\"writing\",\"failed_call\":\"QZ_"
       "UpdateCustomizedSetting\",\"messages\":[\"after: pid not read (QZ_GetPIDfromFlash "
       "failed)\"]"},
      // Every call counts: a refused version query fails the unit, and is named as the first.
      {"timer = 300", "QZ_GetFWVersion,QZ_GetPIDfromFlash", false, 1,
       "[1/1] dev0: reading - ... FAIL (0.0 s)\n  failed call: QZ_GetFWVersion\n" + none,
       "\"failed_step\":\"reading\",\"failed_call\":\"QZ_GetFWVersion\""},
      {"hdd1 = \"HDD\"\nhdd2 = \"STRING\"", "", false, 0,
       head +
           "[1/1] dev0: writing settings ... PASS (0.0 s)\n[1/1] dev0: verifying ... PASS (0.0 "
           "s)\n" +
           one,
       "\"result\":\"pass\""},
      {"vid = \"BEEF\"\nhdd1 = \"HDD\"\nhdd2 = \"STR\"", "", false, 1,
       head +
           "[1/1] dev0: writing settings ... PASS (0.0 s)\n[1/1] dev0: verifying ... FAIL (0.0 "
           "s)\n  vid: asked BEEF, read 1A2B\n  hdd: asked HDD then STR, read HDD STRING\n" +
           none,
       "\"result\":\"fail\",\"failed_step\":\"verifying\",\"messages\":[\"vid: asked BEEF, read "
       "1A2B\",\"hdd: asked HDD then STR, read HDD STRING\"]"},
      {"hdd1 = \"STRING\"\nhdd2 = \"HDD\"", "", false, 1,
       head +
           "[1/1] dev0: writing settings ... PASS (0.0 s)\n[1/1] dev0: verifying ... FAIL (0.0 "
           "s)\n  hdd: asked STRING then HDD, read HDD STRING\n" +
           none,
       "\"failed_step\":\"verifying\""},
      {"image = \"fw.bin\"", "QZ_CheckLoadBinFileMatch", false, 1,
       head +
           "[1/1] dev0: programming fw.bin ... FAIL (0.0 s)\n  failed call: "
           "QZ_CheckLoadBinFileMatch\n  Bin file not match \n" +
           none,
       "\"sha256\":\"6105d6cc76af400325e94d588ce511be5bfdbb73b437dc51eca43917d7a43e3d\",\"size\":"
       "5}"},
      {"image = \"fw.bin\"", "", false, 0,
       head +
           "[1/1] dev0: programming 01.02.03.04 ... PASS (0.0 s)\n[1/1] dev0: verifying ... PASS "
           "(0.0 s)\n" +
           one,
       "\"result\":\"pass\""},
      {"timer = 5", "QZ_GetPIDfromFlash", false, 1,
       "[1/1] dev0: reading 01.02.03.04 ... FAIL (0.0 s)\n  failed call: QZ_GetPIDfromFlash\n" +
           none,
       "\"series\":\"other\",\"profile\":"},
      {"image = \"fw.bin\"\nvid = \"BEEF\"\nhdd1 = \"A\"\nhdd2 = \"B\"\nserial = \"S{n}\"", "",
       true, 0,
       head +
           "[1/1] dev0: serial S2 ... PASS (0.0 s)\n[1/1] dev0: checking image fw.bin ... PASS "
           "(0.0 s)\n  version: 01.02.03.04 -> (image)\n  vid: 1A2B -> BEEF\n  serial: U-001 -> "
           "S2\n  hdd: HDD STRING -> A B\n" +
           one,
       nullptr},
  };
  for (const auto& c : cases) {
    std::remove((dir_ + "bridgefw-record.jsonl").c_str());
    std::vector<std::string> args = {"--apply", Profile(c.profile)};
    if (c.dryRun) args.push_back("--dry-run");
    EXPECT_EQ(Run(args, c.faults, 1, [] { Fake().texts["QZ_GetSNfromFlash"] = "U-001"; }), c.status)
        << c.profile;
    EXPECT_EQ(out_, c.output);
    const std::string record = ReadAll(dir_ + "bridgefw-record.jsonl");
    if (c.record == nullptr) {
      EXPECT_EQ(record, "");
      for (const std::string& name : Fake().Names()) {
        EXPECT_NE(std::find(std::begin(kReads), std::end(kReads), name), std::end(kReads)) << name;
      }
    } else {
      EXPECT_NE(record.find(c.record), std::string::npos) << record;
      EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 1);
    }
  }
  EXPECT_EQ(ReadAll(dir_ + "p.toml.counter"), "2\n");  // the dry run only looked
}

// The counter and the record belong to the profile's file: a second name
// shares them, and a serial the record gives a passing unit is skipped.
TEST_F(LineTest, NoSerialTwiceThroughAnotherNameOrTheRecord) {
  std::ofstream(dir_ + "bridgefw-record.jsonl")
      << "{\"serial\":\"U-001\",\"result\":\"pass\"}\n{\"serial\":\"U-002\",\"result\":\"fail\"}";
  const std::string profile = Profile("serial = \"U-{n:3}\"");
  ASSERT_EQ(symlink(profile.c_str(), (dir_ + "link.toml").c_str()), 0);
  Run({"--apply", profile});
  EXPECT_NE(out_.find("] dev0: serial U-002 ... PASS (0.0 s)\n  U-001 was given to a passing unit "
                      "before (the record says so): 1 skipped\n"),
            std::string::npos)
      << out_;
  Run({"--apply", dir_ + "link.toml"});
  EXPECT_NE(out_.find("serial U-003"), std::string::npos) << out_;
  std::ofstream(dir_ + "link.toml.counter") << "1\n";
  EXPECT_EQ(Run({"--apply", dir_ + "link.toml"}), line::kLineUsageError);
  EXPECT_EQ(out_, "Two counters: " + dir_ + "link.toml.counter beside the path given, " + profile +
                      ".counter beside the profile's real path; keep the one in use there and "
                      "remove the other\n");
}

// A record that cannot take a line, or that is the profile or its counter,
// is refused before any unit is touched.
TEST_F(LineTest, RecordRefusedBeforeAnyUnit) {
  ASSERT_EQ(mkfifo((dir_ + "fifo").c_str(), 0600), 0);
  const std::string profile = Profile("serial = \"U-{n}\"");
  std::ofstream(profile + ".counter") << "5\n";
  const std::string notOwn = " is the profile or its counter: give it a file of its own\n";
  const struct {
    std::string record, output;
  } cases[] = {
      {dir_, "The record cannot be written: "},
      {"", "The record cannot be written: "},
      {"/dev/null", "The record cannot be written: "},
      {dir_ + "fifo", "The record cannot be written: "},
      {dir_ + "none/r.jsonl", "The record cannot be written: "},
      {profile, "The record " + profile + notOwn},
      {profile + ".counter", "The record " + profile + ".counter" + notOwn},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run({"--apply", profile, "--record", c.record}), line::kLineUsageError) << c.record;
    EXPECT_EQ(out_.substr(0, c.output.size()), c.output);
    EXPECT_TRUE(Fake().calls.empty());
  }
  EXPECT_EQ(ReadAll(profile + ".counter"), "5\n");
}

TEST_F(LineTest, OptionsDevicesAndStatuses) {
  const std::string saved = dir_ + "golden.toml";
  const struct {
    std::vector<std::string> args;
    int devices, status;
    std::string output;  // "-": not compared
  } cases[] = {
      {{"--bogus"}, 1, 2, "Unknown option --bogus (see --help)\n"},
      {{"--apply"}, 1, 2, "--apply needs a value (see --help)\n"},
      {{"--list", "--list"}, 1, 2, "--list given twice (see --help)\n"},
      {{"--list", "--save-profile", "x"},
       1,
       2,
       "--save-profile: one of --list, --apply, --save-profile, --report, --help, --version (see "
       "--help)\n"},
      {{"--list", "--all"}, 1, 2, "--all, --dry-run and --record go with --apply (see --help)\n"},
      {{"--json"}, 1, 2, "nothing to do (see --help)\n"},
      {{"--apply", "p", "--watch", "--jobs", "0"}, 1, 2, "--jobs takes 1 to 64 (see --help)\n"},
      {{"--apply", "p", "--all", "--jobs", "1000"}, 1, 2, "--jobs takes 1 to 64 (see --help)\n"},
      {{"--apply", "p", "--watch", "--poll", "0"},
       1,
       2,
       "--poll takes 10 to 60000 (ms) (see --help)\n"},
      {{"--apply", "p", "--watch", "--units", "-1"},
       1,
       2,
       "--units takes 1 to 1000000 (see --help)\n"},
      {{"--apply", "p", "--watch", "--device", "1"},
       1,
       2,
       "--watch goes with --apply alone: it serves every unit plugged in (see --help)\n"},
      {{"--apply", "p", "--redo"},
       1,
       2,
       "--poll, --units, --stop-after, --redo and --bell go with --watch (see --help)\n"},
      {{"--list", "-gvd"}, 1, 2, "an option after a long option (see --help)\n"},
      {{"--version"}, 1, 0, "bridgefw v1.0.0.0\n"},
      {{"--device", "2", "-gvd"}, 1, 3, "Device 2 is not listed\n"},
      // A library that reports more devices than it has buffers for lists only those.
      {{"--device", "17", "-gvd"}, 20, 3, "Device 17 is not listed\n"},
      {{"--device", "dev1", "-gvd"}, 2, 0, "VID: 0x1A2B\n"},
      {{"--device", "1", "-zz"}, 1, 0, ""},
      {{"--save-profile", saved},
       2,
       2,
       "2 devices are listed: choose one with --device N|PATH (see --help)\n"},
      {{"--list"},
       2,
       0,
       "1 dev0 other firmware 01.02.03.04 1A2B:00C4 SN-FLASH\n"
       "2 dev1 other firmware 01.02.03.04 1A2B:00C4 SN-FLASH\n"},
      {{"--list", "--json"},
       1,
       0,
       "[{\"device\":1,\"path\":\"dev0\",\"series\":\"other\",\"mode\":\"firmware\",\"version\":"
       "\"01.02.03.04\",\"vid\":\"1A2B\",\"pid\":\"00C4\",\"serial\":\"SN-FLASH\"}]\n"},
      {{"--save-profile", saved, "--device", "2"}, 2, 0, "Saved dev1 as " + saved + "\n"},
      {{"--save-profile", saved}, 1, 2, "will not overwrite " + saved + ": File exists\n"},
      {{"--apply", saved, "--all", "--json"}, 2, 0, "-"},
  };
  for (const auto& c : cases) {
    const int status = Run(c.args, "", c.devices);
    EXPECT_EQ(status, c.status) << c.args[0];
    if (c.output != "-") {
      EXPECT_EQ(out_, c.output) << c.args[0];
    }
  }
  // The golden unit's settings, without its serial and HDD strings, make a profile.
  EXPECT_EQ(
      ReadAll(saved),
      "# Saved by bridgefw v1.0.0.0 from dev1 (01.02.03.04).\n"
      "# Its serial was 'SN-FLASH'; give each unit its own with serial = \"PREFIX-{n:6}\".\n"
      "# Its HDD strings read back as one, 'HDD STRING'; name hdd1 and hdd2 to write them.\n"
      "manufacturer = 'Maker'\npid = '00C4'\nproduct = 'Bridge'\ntimer = 300\nvid = '1A2B'\n");
  EXPECT_EQ(std::count(out_.begin(), out_.end(), '\n'), 2);  // --json: one object per unit
  // A listed path that looks like a number is found by its name: devices count from 1.
  EXPECT_EQ(Run({"--device", "0", "-gvd"}, "", 1, [] { std::strcpy(runtime::DeviceList[0], "0"); }),
            0);
  EXPECT_EQ(out_, "VID: 0x1A2B\n");
}

TEST_F(LineTest, ListingTellsWhatItCannotShow) {
  const auto ends = [this](const std::string& tail) {
    return out_.size() >= tail.size() &&
           out_.compare(out_.size() - tail.size(), tail.size(), tail) == 0;
  };
  EXPECT_EQ(Run({"--list"}, "", 20), 0);
  EXPECT_TRUE(
      ends("\n16 dev15 other firmware 01.02.03.04 1A2B:00C4 SN-FLASH\n"
           "At most 16 units are seen at once: more may be attached\n"));
  EXPECT_EQ(Run({"--list"}, "QZ_GetRunningCodeMode", 1), line::kLineUnitFailed);
  EXPECT_EQ(out_, "1 dev0 other unknown - ? ?\n");
  EXPECT_EQ(Run({"--list"}, "", 1, [] { Fake().texts["QZ_GetSNfromFlash"] = "A\x1b[2J\\\xe9"; }),
            0);
  EXPECT_EQ(out_, "1 dev0 other firmware 01.02.03.04 1A2B:00C4 A\\u001b[2J\\\\\\xE9\n");
  EXPECT_EQ(Run({"--list", "--json"}, "", 0), line::kLineNoDevice);
  EXPECT_EQ(out_, "[]\n");
  EXPECT_EQ(Run({"--version", "--help"}, "", 0), 0);
  EXPECT_TRUE(ends("3 no library or no device.\n" + std::string(94, '-') + "\n"));
  // What is saved always loads: a text a profile cannot take is left out, saying so.
  const std::string saved = dir_ + "saved.toml";
  Run({"--save-profile", saved}, "", 1, [] {
    Fake().texts["QZ_GetManuStrfromFlash"] = "";
    Fake().texts["QZ_GetProdStrfromFlash"] = "Acm\xe9";
  });
  const std::string text = ReadAll(saved);
  EXPECT_NE(text.find("# manufacturer left out: the unit's is empty, and a profile takes none\n"
                      "# product left out: the unit's is not printable ASCII\npid = '00C4'\n"),
            std::string::npos)
      << text;
  line::Profile loaded;
  std::string why;
  EXPECT_TRUE(line::LoadProfile(saved, &loaded, &why)) << why;
}

TEST(SerialCounter, NumbersAreTakenOnceAcrossProcesses) {
  char pattern[] = "/tmp/bridgefw-counter-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string path = std::string(pattern) + "/p.counter";
  uint64_t n = 0;
  std::string why;
  ASSERT_TRUE(line::NextSerialNumber(path, 5, false, &n, &why));
  EXPECT_EQ(n, 5u);
  EXPECT_FALSE(std::ifstream(path));  // looking makes no file
  ASSERT_TRUE(line::NextSerialNumber(path, 5, true, &n, &why));
  EXPECT_EQ(n, 5u);
  ASSERT_TRUE(line::NextSerialNumber(path, 100, true, &n, &why));
  EXPECT_EQ(n, 100u);  // a raised start wins
  EXPECT_EQ(ReadAll(path), "101\n");
  // Four processes take 25 numbers each: 100 different numbers.
  for (int child = 0; child < 4; ++child) {
    if (fork() == 0) {
      std::ofstream taken(path + std::to_string(child));
      for (int i = 0; i < 25 && line::NextSerialNumber(path, 1, true, &n, &why); ++i)
        taken << n << "\n";
      taken.close();
      _exit(0);
    }
  }
  std::set<std::string> numbers;
  for (int child = 0; child < 4; ++child) {
    int status = 0;
    wait(&status);
  }
  for (int child = 0; child < 4; ++child) {
    std::istringstream lines(ReadAll(path + std::to_string(child)));
    for (std::string line; std::getline(lines, line);) numbers.insert(line);
  }
  EXPECT_EQ(numbers.size(), 100u);
  EXPECT_EQ(ReadAll(path), "201\n");
  // Blanks, line ends and a UTF-8 mark around the number, as Windows tools
  // write them; anything else is named and refused.
  const struct {
    const char* text;
    uint64_t next;  // 0: refused with `why`
    const char* why;
  } counters[] = {
      {"\xEF\xBB\xBF"
       "1000 \r\n",
       1000, ""},
      {" \t7\n\n", 7, ""},
      {" \r\n", 1, ""},
      {"12x\n", 0, " holds \"12x\", which is no number: refused rather than guessed"},
      {"12345678901234567890123x", 0,
       " holds \"12345678901234567890123x\", which is no number: refused rather than guessed"},
      {"123456789012345678901234x", 0,
       " holds \"123456789012345678901234...\", which is no number: refused rather than guessed"},
      {"18446744073709551615", 0,
       " is used up (18446744073709551615): refused rather than guessed"},
      {"18446744073709551616", 0,
       " holds 18446744073709551616, past the largest number: refused rather than guessed"},
  };
  for (const auto& c : counters) {
    std::ofstream(path) << c.text;
    n = 0;
    EXPECT_EQ(line::NextSerialNumber(path, 1, true, &n, &why), c.next != 0) << c.text;
    EXPECT_EQ(c.next != 0 ? std::to_string(n) : why,
              c.next != 0 ? std::to_string(c.next) : path + c.why);
  }
  // The range's last number is handed out, and the range is not yet used up.
  std::ofstream(path) << "10\n";
  why.clear();
  EXPECT_TRUE(line::NextSerialNumber(path, 1, true, &n, &why, 10));
  EXPECT_EQ(std::to_string(n) + why + ReadAll(path), "1011\n");
  // Past the range's end nothing is handed out, and nothing is written.
  std::ofstream(path) << "11\n";
  EXPECT_FALSE(line::NextSerialNumber(path, 1, true, &n, &why, 10));
  EXPECT_EQ(why, "the serial range is used up: the next number, 11, is past serial_end 10");
  EXPECT_EQ(ReadAll(path), "11\n");
  // A counter that cannot be read is no counter, looked at or taken.
  EXPECT_FALSE(line::NextSerialNumber(pattern, 1, false, &n, &why) ||
               line::NextSerialNumber(pattern, 1, true, &n, &why));
  EXPECT_EQ(std::system((std::string("rm -rf ") + pattern).c_str()), 0);
}

// A number that outgrows the serial's room fails its unit before anything is written.
TEST_F(LineTest, SerialLongerThanTheBridgeTakesFailsItsUnit) {
  const std::string serial = std::string(76, 'S');
  for (const int number : {999, 1000}) {
    std::ofstream(dir_ + "p.toml.counter") << number << "\n";
    EXPECT_EQ(Run({"--apply", Profile("serial = \"" + serial + "{n}\"")}), 1);  // not verified
    const std::vector<std::string> names = Fake().Names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "QZ_UpdateCustomizedSetting"), number == 999);
    EXPECT_EQ(out_.substr(0, out_.find('\n', out_.find("serial ")) + 1),
              "[1/1] dev0: reading 01.02.03.04 ... PASS (0.0 s)\n[1/1] dev0: serial " + serial +
                  std::to_string(number) +
                  (number == 999 ? " ... PASS (0.0 s)\n" : " ... FAIL (0.0 s)\n"));
    EXPECT_EQ(out_.find("  serial longer than 79\n") != std::string::npos, number == 1000) << out_;
  }
  EXPECT_EQ(ReadAll(dir_ + "p.toml.counter"), "1001\n");
}

// When no watcher can start (here: no room for its stack), a request ends the
// process as before: the signals are not left blocked.
TEST(StopRequests, WithoutAWatcherSignalsStayFatal) {
  const pid_t child = fork();
  if (child == 0) {
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, std::size_t{1} << 50);
    pthread_setattr_default_np(&huge);
    const bool watching = platform::WatchStopRequests([](int) {});
    sigset_t blocked;
    pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    _exit(watching ? 4 : sigismember(&blocked, SIGTERM) ? 3 : 0);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_NE(status, 3 << 8);
}

// The record's time has whole seconds, the recorder's milliseconds: the clock's
// time in UTC, cut (never rounded) to the digits asked.
TEST(ClockText, DigitsOfTheSecondAsAsked) {
  using std::chrono::system_clock;
  const auto micros = [](system_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
  };
  const std::regex shape(R"((\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)(?:\.(\d+))?Z)");
  const struct { int decimals, digits; } cases[] = {{0, 0}, {3, 3}, {6, 6}, {-1, 0}, {9, 6}};
  for (const auto& c : cases) {
    const long long before = micros(system_clock::now());
    const std::string text = platform::CurrentTimeText(c.decimals);
    const long long after = micros(system_clock::now());
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, shape)) << text;
    EXPECT_EQ(m[7].length(), c.digits) << text;
    std::tm utc = {};
    utc.tm_year = std::stoi(m[1]) - 1900;
    utc.tm_mon = std::stoi(m[2]) - 1;
    utc.tm_mday = std::stoi(m[3]);
    utc.tm_hour = std::stoi(m[4]);
    utc.tm_min = std::stoi(m[5]);
    utc.tm_sec = std::stoi(m[6]);
    long long unit = 1000000, told = timegm(&utc) * unit;
    for (int digit = 0; digit < c.digits; ++digit) unit /= 10;
    if (c.digits > 0) told += std::stoll(m[7]) * unit;
    EXPECT_LE(before / unit * unit, told) << text;
    EXPECT_LE(told, after) << text;
  }
}

// The command line as the system keeps it, a NUL between arguments, cut at the limit.
TEST(ProcessCommandLine, AsKeptAndCutAtTheLimit) {
  const std::string kept = ReadAll("/proc/self/cmdline");  // with its last NUL
  const std::string whole = kept.substr(0, kept.size() - 1);
  const struct {
    std::size_t limit;
    std::string text;
  } cases[] = {{kept.size(), whole},
               {whole.size(), whole},
               {whole.size() - 1, kept.substr(0, whole.size() - 1)},
               {0, ""}};
  for (const auto& c : cases) {
    bool cut = c.text == whole;
    EXPECT_EQ(platform::ProcessCommandLine(c.limit, &cut), c.text) << c.limit;
    EXPECT_EQ(cut, c.text != whole) << c.limit;
  }
}

// The system's SHA-256 (nettle; CNG is checked by the record in line.t under wine).
TEST(Sha256Hex, StandardVectors) {
  const struct {
    std::string text;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    std::string hex, why;
    EXPECT_TRUE(platform::Sha256Hex(c.text.data(), c.text.size(), &hex, &why)) << why;
    EXPECT_EQ(hex, c.digest);
  }
  // An image is read whole for its digest, up to 64 MiB.
  const std::string image = "big.bin";
  std::ofstream{image};
  ASSERT_EQ(truncate(image.c_str(), (off_t{64} << 20) + 1), 0);
  line::ImageDigest digest;
  std::string why;
  EXPECT_FALSE(line::DigestImage(image, &digest, &why));
  EXPECT_EQ(why, "big.bin is larger than 67108864 bytes");
  std::remove(image.c_str());
}

}  // namespace
