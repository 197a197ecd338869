// The command line's update options: value elements, the path test and the
// -ue option list with its messages, bounds and repeats.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"
#include "ui/command_line.h"

namespace {

using Args = std::vector<std::string>;

const std::string kPath255(255, 'p');
const std::string kPath256(256, 'p');
const std::string kBadParameter = "Invalid input parameter!\n";
const std::string kBadArgument = "Invalid input argument.\n";
const std::string kBadPath = "Invalid firmware path.\n";
const std::string kRefused = "Input parameter error! \n";

// -ue with a record the update accepts, then the extra elements.
Args WithRecord(const Args& extra) {
  Args args = {"-ue", "-v",   "12AB", "-p",   "0C0D", "-m", "Maker",
               "-i",  "Disk", "-s",   "SN01", "-n",   "HV", "HP"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

Args Ue(const Args& extra) {
  Args args = {"-ue"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

std::string Call(const char* name, const std::string& value) {
  return std::string(name) + "(\"dev0\", \"" + value + "\")";
}

// Timer value handed to the library.
std::string T(const std::string& value) { return "QZ_SetStandbyTimer(\"dev0\", " + value + ")"; }
// The image check the library is given.
std::string M(const std::string& path) { return Call("QZ_CheckLoadBinFileMatch", path); }

struct UpdateCase {
  Args args;  // element 1 onwards
  std::string output;
  int32_t result;
  std::vector<std::string> calls;  // calls that must be among those made; none: no call at all
  std::set<std::string> failNames = {};
};

class CliUpdatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallFakeLibrary();
    char pattern[] = "/tmp/bridgefw-unit-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    for (const std::string& name :
         {std::string("x.bin"), std::string("-v"), std::string("fw image.bin"), kPath255}) {
      std::FILE* file = std::fopen(name.c_str(), "w");
      ASSERT_NE(file, nullptr) << name;
      std::fclose(file);
    }
    ASSERT_EQ(mkfifo("fifo", 0600), 0);
    ASSERT_EQ(mkdir("folder", 0700), 0);
  }
  void TearDown() override {
    UninstallFakeLibrary();
    ASSERT_EQ(chdir(previous_), 0);
    EXPECT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0);
  }

  static void Check(const std::vector<UpdateCase>& cases) {
    for (const UpdateCase& c : cases) {
      std::string label;
      for (const std::string& arg : c.args) label += "[" + arg.substr(0, 12) + "]";
      InstallFakeLibrary();
      Fake().failNames = c.failNames;
      std::vector<const char*> argv = {"bridgefw"};
      for (const std::string& arg : c.args) argv.push_back(arg.c_str());
      argv.push_back(nullptr);
      ConsoleCapture capture;
      EXPECT_EQ(RunCommandLine(argv.data()), c.result) << label;
      EXPECT_EQ(capture.Output(), c.output) << label;
      const std::vector<std::string> calls = Fake().CallTexts();
      EXPECT_EQ(calls.empty(), c.calls.empty()) << label;
      for (const std::string& call : c.calls) {
        EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end())
            << label << ": " << call;
      }
    }
  }

 private:
  std::string dir_;
  char previous_[4096] = {};
};

TEST_F(CliUpdatesTest, UpdateFromPathNeedsAnOpenableImage) {
  const std::string ub1 = "Update result: 1.\n";
  Check({
      {{"-ub"}, "Please input parameter.\n", 0, {}},
      {{"-un"}, "Please input parameter.\n", 0, {}},
      {{"-ub", "missing.bin"}, kBadPath, 0, {}},
      {{"-un", "missing.bin"}, kBadPath, 0, {}},
      // Only a regular file is an image; a FIFO must not block the test.
      {{"-ub", "fifo"}, kBadPath, 0, {}},
      {{"-un", "folder"}, kBadPath, 0, {}},
      {Ue({"-f", "fifo"}), kBadPath, 0, {}},
      {{"-ub", "x.bin", "more", "-f"}, ub1, 1, {M("x.bin"), "QZ_FWUpdateProgramming(\"dev0\")"}},
      {{"-ub", "x.bin"}, "Update result: 0.\n", 0, {M("x.bin")}, {"QZ_FWUpdateProgramming"}},
      {{"-un", "x.bin"}, "", 1, {"QZ_FWUpdateProgrammingNoCustomizedSetting(\"dev0\")"}},
  });
}

TEST_F(CliUpdatesTest, OptionListMessagesComeInTheirOrder) {
  Check({
      {Ue({}), kBadParameter, 0, {}},
      {Ue({"x.bin"}), kBadParameter, 0, {}},
      {Ue({"-f"}), kBadParameter, 0, {}},
      {Ue({"-x"}), kBadParameter, 0, {}},  // the value is missed before the letter is judged
      {Ue({"-x", "1"}), kBadArgument, 0, {}},
      {Ue({"-h", "1"}), kBadArgument, 0, {}},
      {Ue({"-f", "x.bin", "-x", "1"}), kBadArgument, 0, {}},
      {Ue({"-f", "x.bin", "junk"}), kBadParameter, 0, {}},
      {Ue({"-n", "A"}), "Please input parameter.\n", 0, {}},
      {Ue({"-n", "A", "B", "C"}), kBadParameter, 0, {}},
      {Ue({"-v", "12AB"}), kBadPath, 0, {}},
      {Ue({"-"}), kBadPath, 0, {}},
      {Ue({"-f", "missing.bin"}), kBadPath, 0, {}},
      // The operation itself demands the whole record, after the image.
      {Ue({"-f", "x.bin"}), kRefused, 0, {M("x.bin")}},
      {Ue({"-f", "-v"}), kRefused, 0, {M("-v")}},
  });
}

TEST_F(CliUpdatesTest, OptionListFillsTheRecord) {
  Check({
      {WithRecord({"-f", "x.bin"}),
       "",
       1,
       {M("x.bin"), Call("QZ_SetVIDValue", "12AB"), Call("QZ_SetPIDValue", "0C0D"),
        Call("QZ_SetManuStr", "Maker"), Call("QZ_SetProdString", "Disk"),
        Call("QZ_SetSerialNumStr", "SN01"), Call("QZ_SetScsiVidString", "HV"),
        Call("QZ_SetScsiPidString", "HP"), T("0"), "QZ_FWUpdateProgrammingEX(\"dev0\")"}},
      // A lone dash ends the list; what follows is not looked at.
      {WithRecord({"-f", "x.bin", "-", "junk"}), "", 1, {M("x.bin")}},
      // Only the letter after the dash counts, in either case; any order.
      {Ue({"-Timer", "45", "-NAMES", "A", "B", "-FILE", "x.bin", "-Vid", "BEEF", "-PID", "0C0D",
           "-Maker", "M", "-i", "I", "-Serial", "S"}),
       "",
       1,
       {M("x.bin"), Call("QZ_SetVIDValue", "BEEF"), T("45")}},
      // Values are taken whatever they hold.
      {WithRecord({"-f", "fw image.bin", "-m", "-x", "-i", "two words"}),
       "",
       1,
       {M("fw image.bin"), Call("QZ_SetManuStr", "-x"), Call("QZ_SetProdString", "two words")}},
      {WithRecord({"-f", "x.bin", "-t", "+7"}), "", 1, {T("7")}},
      {WithRecord({"-f", "x.bin", "-t", "2147483647"}), "", 1, {T("2147483647")}},
      {WithRecord({"-f", "x.bin", "-t", "-1"}), kRefused, 0, {M("x.bin")}},
  });
}

TEST_F(CliUpdatesTest, OptionListRefusesOverLongAndBadValuesAndRepeatsReplace) {
  const std::string text79(79, 'm');
  const std::string text80(80, 'm');
  Check({
      // -t takes a checked decimal number.
      {WithRecord({"-f", "x.bin", "-t", "x"}), kBadParameter, 0, {}},
      {WithRecord({"-f", "x.bin", "-t", "12s"}), kBadParameter, 0, {}},
      {WithRecord({"-f", "x.bin", "-t", "2147483648"}), kBadParameter, 0, {}},
      // Field limits: at the limit taken whole, one past it refused before the path test.
      {WithRecord({"-f", "x.bin", "-v", "ABCD"}), "", 1, {Call("QZ_SetVIDValue", "ABCD")}},
      {Ue({"-v", "ABCDE"}), kBadParameter, 0, {}},
      {Ue({"-p", "ABCDE", "-f", "x.bin"}), kBadParameter, 0, {}},
      {WithRecord({"-f", "x.bin", "-m", text79, "-i", text79, "-s", text79, "-n", text79, text79}),
       "",
       1,
       {Call("QZ_SetManuStr", text79), Call("QZ_SetProdString", text79),
        Call("QZ_SetSerialNumStr", text79), Call("QZ_SetScsiVidString", text79),
        Call("QZ_SetScsiPidString", text79)}},
      {Ue({"-m", text80}), kBadParameter, 0, {}},
      {Ue({"-i", text80}), kBadParameter, 0, {}},
      {Ue({"-s", text80}), kBadParameter, 0, {}},
      {Ue({"-n", text80, "B"}), kBadParameter, 0, {}},
      {Ue({"-n", "A", text80}), kBadParameter, 0, {}},
      {Ue({"-n", text80}), kBadParameter, 0, {}},  // refused as it is stored
      {WithRecord({"-f", kPath255}), "", 1, {M(kPath255)}},
      {WithRecord({"-f", kPath256}), kBadParameter, 0, {}},
      // A refused value stops the list before later elements are judged.
      {Ue({"-v", "ABCDE", "-x", "1"}), kBadParameter, 0, {}},
      // A repeat replaces the earlier value.
      {WithRecord({"-f", "x.bin", "-m", "Much Longer Maker", "-m", "Short"}),
       "",
       1,
       {Call("QZ_SetManuStr", "Short")}},
      {WithRecord({"-f", "x.bin", "-v", "ABCD", "-v", "1"}), "", 1, {Call("QZ_SetVIDValue", "1")}},
      {WithRecord({"-f", "x.bin", "-n", "LONGER1", "LONGER2", "-n", "a", "b"}),
       "",
       1,
       {Call("QZ_SetScsiVidString", "a"), Call("QZ_SetScsiPidString", "b")}},
      {WithRecord({"-f", "x.bin", "-t", "1", "-t", "2"}), "", 1, {T("2")}},
      {WithRecord({"-f", "fw image.bin", "-f", "x.bin"}), "", 1, {M("x.bin")}},
  });
}

}  // namespace
