// The command line's update options: value elements, the path test and the
// -ue option list with its messages, bounds and repeats.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"
#include "ui/option_families.h"

namespace {

using Args = std::vector<std::string>;

const std::string kPath255(255, 'p');
const std::string kPath256(256, 'p');

// Readable images in the test's working folder.
const char* const kFiles[] = {"x.bin", "-v", "fw image.bin"};

// A record the update with settings accepts; rows add to it.
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

std::string Match(const std::string& path) {
  return "QZ_CheckLoadBinFileMatch(\"dev0\", \"" + path + "\")";
}

struct UpdateCase {
  Args args;  // element 1 onwards
  std::string output;
  int32_t result;
  std::string path;  // the path the library is given; empty: no library call at all
  std::vector<std::string> staged = {};  // calls that must be among those made
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
    std::vector<std::string> files(std::begin(kFiles), std::end(kFiles));
    files.push_back(kPath255);
    for (const std::string& name : files) {
      std::FILE* file = std::fopen(name.c_str(), "w");
      ASSERT_NE(file, nullptr) << name;
      std::fputs("image", file);
      std::fclose(file);
    }
  }
  void TearDown() override {
    UninstallFakeLibrary();
    ASSERT_EQ(chdir(previous_), 0);
    const std::string command = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }

  void Check(const std::vector<UpdateCase>& cases) {
    for (const UpdateCase& c : cases) {
      std::string label;
      for (const std::string& arg : c.args) label += "[" + arg.substr(0, 12) + "]";
      InstallFakeLibrary();
      Fake().failNames = c.failNames;
      std::vector<const char*> argv = {"bridgefw"};
      for (const std::string& arg : c.args) argv.push_back(arg.c_str());
      argv.push_back(nullptr);
      const char option = static_cast<char>(std::tolower(static_cast<unsigned char>(argv[1][2])));
      char resultText[80] = {};
      ConsoleCapture capture;
      EXPECT_EQ(RunUpdateOption(option, argv.data(), resultText), c.result) << label;
      EXPECT_EQ(capture.Output(), c.output) << label;
      const std::vector<std::string> calls = Fake().CallTexts();
      if (c.path.empty()) {
        EXPECT_TRUE(calls.empty()) << label << ": " << (calls.empty() ? "" : calls[0]);
      } else {
        EXPECT_NE(std::find(calls.begin(), calls.end(), Match(c.path)), calls.end()) << label;
      }
      for (const std::string& staged : c.staged) {
        EXPECT_NE(std::find(calls.begin(), calls.end(), staged), calls.end())
            << label << ": " << staged;
      }
    }
  }

 private:
  std::string dir_;
  char previous_[4096] = {};
};

TEST_F(CliUpdatesTest, UpdateFromPathNeedsAnOpenableImage) {
  Check({
      {{"-ub"}, "Please input parameter.\n", 0, ""},
      {{"-un"}, "Please input parameter.\n", 0, ""},
      {{"-ub", "missing.bin"}, "Invalid firmware path.\n", 0, ""},
      {{"-un", "missing.bin"}, "Invalid firmware path.\n", 0, ""},
      {{"-ub", ""}, "Invalid firmware path.\n", 0, ""},
      {{"-ub", "x.bin"}, "Update result: 1.\n", 1, "x.bin", {"QZ_FWUpdateProgramming(\"dev0\")"}},
      {{"-ub", "x.bin", "more", "-f"}, "Update result: 1.\n", 1, "x.bin"},
      {{"-ub", "fw image.bin"}, "Update result: 1.\n", 1, "fw image.bin"},
      {{"-ub", kPath255}, "Update result: 1.\n", 1, kPath255},
      {{"-ub", "x.bin"},
       "Bin file not match \nUpdate result: 0.\n",
       0,
       "x.bin",
       {},
       {"QZ_CheckLoadBinFileMatch"}},
      {{"-ub", "x.bin"}, "Update result: 0.\n", 0, "x.bin", {}, {"QZ_FWUpdateProgramming"}},
      {{"-un", "x.bin"}, "", 1, "x.bin", {"QZ_FWUpdateProgrammingNoCustomizedSetting(\"dev0\")"}},
      {{"-un", "x.bin"},
       "Set firmware bin file path fail\n",
       0,
       "x.bin",
       {},
       {"QZ_SetFWBinFilePath"}},
  });
}

TEST_F(CliUpdatesTest, OptionListMessagesComeInTheirOrder) {
  Check({
      {Ue({}), "Invalid input parameter!\n", 0, ""},
      {Ue({""}), "Invalid input parameter!\n", 0, ""},
      {Ue({"x.bin"}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-f"}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-x"}), "Invalid input parameter!\n", 0, ""},  // the value is missed first
      {Ue({"-x", "1"}), "Invalid input argument.\n", 0, ""},
      {Ue({"-h", "1"}), "Invalid input argument.\n", 0, ""},
      {Ue({"-f", "x.bin", "-x", "1"}), "Invalid input argument.\n", 0, ""},
      {Ue({"-f", "x.bin", "junk"}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-n", "A"}), "Please input parameter.\n", 0, ""},
      {Ue({"-n", "A", "B", "C"}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-v", "12AB"}), "Invalid firmware path.\n", 0, ""},
      {Ue({"-"}), "Invalid firmware path.\n", 0, ""},
      {Ue({"-f", ""}), "Invalid firmware path.\n", 0, ""},
      {Ue({"-f", "missing.bin"}), "Invalid firmware path.\n", 0, ""},
      // The operation itself demands the whole record, after the image.
      {Ue({"-f", "x.bin"}), "Input parameter error! \n", 0, "x.bin"},
      {Ue({"-f", "-v"}), "Input parameter error! \n", 0, "-v"},
  });
}

TEST_F(CliUpdatesTest, OptionListFillsTheRecord) {
  Check({
      {WithRecord({"-f", "x.bin"}),
       "",
       1,
       "x.bin",
       {"QZ_SetVIDValue(\"dev0\", \"12AB\")", "QZ_SetPIDValue(\"dev0\", \"0C0D\")",
        "QZ_SetManuStr(\"dev0\", \"Maker\")", "QZ_SetProdString(\"dev0\", \"Disk\")",
        "QZ_SetSerialNumStr(\"dev0\", \"SN01\")", "QZ_SetScsiVidString(\"dev0\", \"HV\")",
        "QZ_SetScsiPidString(\"dev0\", \"HP\")", "QZ_SetStandbyTimer(\"dev0\", 0)",
        "QZ_FWUpdateProgrammingEX(\"dev0\")"}},
      // A lone dash ends the list; what follows is not looked at.
      {WithRecord({"-f", "x.bin", "-", "junk"}), "", 1, "x.bin"},
      // Only the letter after the dash counts, in either case.
      {Ue({"-FILE", "x.bin", "-Vid", "BEEF", "-PID", "0C0D", "-Maker", "M", "-i", "I", "-Serial",
           "S", "-NAMES", "A", "B", "-Timer", "45"}),
       "",
       1,
       "x.bin",
       {"QZ_SetVIDValue(\"dev0\", \"BEEF\")", "QZ_SetStandbyTimer(\"dev0\", 45)"}},
      // Values are taken whatever they hold.
      {WithRecord({"-f", "fw image.bin", "-m", "-x", "-i", "two words"}),
       "",
       1,
       "fw image.bin",
       {"QZ_SetManuStr(\"dev0\", \"-x\")", "QZ_SetProdString(\"dev0\", \"two words\")"}},
      {WithRecord({"-f", "x.bin", "-t", "300"}),
       "",
       1,
       "x.bin",
       {"QZ_SetStandbyTimer(\"dev0\", 300)"}},
      {WithRecord({"-f", "x.bin", "-t", "+7"}),
       "",
       1,
       "x.bin",
       {"QZ_SetStandbyTimer(\"dev0\", 7)"}},
      {WithRecord({"-f", "x.bin", "-t", "2147483647"}),
       "",
       1,
       "x.bin",
       {"QZ_SetStandbyTimer(\"dev0\", 2147483647)"}},
      {WithRecord({"-f", "x.bin", "-t", "-1"}), "Input parameter error! \n", 0, "x.bin"},
      // Any order.
      {Ue({"-t", "9", "-n", "A", "B", "-f", "x.bin", "-s", "S", "-i", "I", "-m", "M", "-p", "2",
           "-v", "1"}),
       "",
       1,
       "x.bin",
       {"QZ_SetVIDValue(\"dev0\", \"1\")", "QZ_SetScsiPidString(\"dev0\", \"B\")"}},
  });
}

TEST_F(CliUpdatesTest, OptionListRefusesOverLongAndBadValues) {
  const std::string text79(79, 'm');
  const std::string text80(80, 'm');
  Check({
      // -t takes a checked decimal number.
      {WithRecord({"-f", "x.bin", "-t", "x"}), "Invalid input parameter!\n", 0, ""},
      {WithRecord({"-f", "x.bin", "-t", ""}), "Invalid input parameter!\n", 0, ""},
      {WithRecord({"-f", "x.bin", "-t", "12s"}), "Invalid input parameter!\n", 0, ""},
      {WithRecord({"-f", "x.bin", "-t", "2147483648"}), "Invalid input parameter!\n", 0, ""},
      // Field limits: at the limit taken whole, one past it refused before the path test.
      {WithRecord({"-f", "x.bin", "-v", "ABCD"}),
       "",
       1,
       "x.bin",
       {"QZ_SetVIDValue(\"dev0\", \"ABCD\")"}},
      {Ue({"-v", "ABCDE"}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-p", "ABCDE", "-f", "x.bin"}), "Invalid input parameter!\n", 0, ""},
      {WithRecord({"-f", "x.bin", "-m", text79, "-i", text79, "-s", text79, "-n", text79, text79}),
       "",
       1,
       "x.bin",
       {"QZ_SetManuStr(\"dev0\", \"" + text79 + "\")",
        "QZ_SetProdString(\"dev0\", \"" + text79 + "\")",
        "QZ_SetSerialNumStr(\"dev0\", \"" + text79 + "\")",
        "QZ_SetScsiVidString(\"dev0\", \"" + text79 + "\")",
        "QZ_SetScsiPidString(\"dev0\", \"" + text79 + "\")"}},
      {Ue({"-m", text80}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-i", text80}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-s", text80}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-n", text80, "B"}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-n", "A", text80}), "Invalid input parameter!\n", 0, ""},
      {Ue({"-n", text80}), "Invalid input parameter!\n", 0, ""},  // refused as it is stored
      {WithRecord({"-f", kPath255}), "", 1, kPath255},
      {WithRecord({"-f", kPath256}), "Invalid input parameter!\n", 0, ""},
      // A refused value stops the list before later elements are judged.
      {Ue({"-v", "ABCDE", "-x", "1"}), "Invalid input parameter!\n", 0, ""},
  });
}

TEST_F(CliUpdatesTest, RepeatedSubOptionsReplaceTheEarlierValue) {
  Check({
      {WithRecord({"-f", "x.bin", "-m", "Much Longer Maker", "-m", "Short"}),
       "",
       1,
       "x.bin",
       {"QZ_SetManuStr(\"dev0\", \"Short\")"}},
      {WithRecord({"-f", "x.bin", "-v", "ABCD", "-v", "1"}),
       "",
       1,
       "x.bin",
       {"QZ_SetVIDValue(\"dev0\", \"1\")"}},
      {WithRecord({"-f", "x.bin", "-n", "LONGER1", "LONGER2", "-n", "a", "b"}),
       "",
       1,
       "x.bin",
       {"QZ_SetScsiVidString(\"dev0\", \"a\")", "QZ_SetScsiPidString(\"dev0\", \"b\")"}},
      {WithRecord({"-f", "x.bin", "-t", "1", "-t", "2"}),
       "",
       1,
       "x.bin",
       {"QZ_SetStandbyTimer(\"dev0\", 2)"}},
      {WithRecord({"-f", "fw image.bin", "-f", "x.bin"}), "", 1, "x.bin"},
  });
}

}  // namespace
