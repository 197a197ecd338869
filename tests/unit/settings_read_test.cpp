// Settings reads: the read per chip series, results, guards, over-long texts,
// and the full read's order and stop at each failing read.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ops/operations.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

using Calls = std::vector<std::string>;
const char* const kRefused = "Input parameter error! \n";

struct Destinations {
  uint16_t id = 0;
  int32_t timer = 0;
  char text[kSettingTextSize] = {};
};

struct Reader {
  const char* t7Read;  // differs from otherRead: the series is asked first
  const char* otherRead;
  std::function<int32_t(Destinations&)> run;
  char kind;  // 'i' id, 't' timer, 's' text
};

const std::vector<Reader> kReaders = {
    {"QZ_GetT7VIDbySCSICmd", "QZ_GetVIDfromFlash", [](auto& d) { return OpGetVendorId(&d.id); },
     'i'},
    {"QZ_GetT7PIDbySCSICmd", "QZ_GetPIDfromFlash", [](auto& d) { return OpGetProductId(&d.id); },
     'i'},
    {"QZ_GetManuStrfromFlash", "QZ_GetManuStrfromFlash",
     [](auto& d) { return OpGetManufacturerString(d.text); }, 's'},
    {"QZ_GetProdStrfromFlash", "QZ_GetProdStrfromFlash",
     [](auto& d) { return OpGetProductString(d.text); }, 's'},
    {"QZ_GetT7SNbySCSICmd", "QZ_GetSNfromFlash", [](auto& d) { return OpGetSerialNumber(d.text); },
     's'},
    {"QZ_GetHDDStrfromFlash", "QZ_GetHDDStrfromFlash",
     [](auto& d) { return OpGetHDDString(d.text); }, 's'},
    {"QZ_GetT7StandbyTimerbySCSICmd", "QZ_GetStandbyTimerfromFlash",
     [](auto& d) { return OpGetStandbyTimer(&d.timer); }, 't'},
};

const void* Destination(const Reader& r, Destinations& d) {
  return r.kind == 'i'   ? static_cast<const void*>(&d.id)
         : r.kind == 't' ? static_cast<const void*>(&d.timer)
                         : d.text;
}

Calls ReaderCalls(const Reader& r, bool isT7) {
  Calls calls;
  if (std::strcmp(r.t7Read, r.otherRead) != 0) calls.push_back("QZ_IsQZT7Series(\"dev0\")");
  calls.push_back(std::string(isT7 ? r.t7Read : r.otherRead) + "(\"dev0\", out)");
  return calls;
}

class SettingsReadTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

TEST_F(SettingsReadTest, EachReaderReadsItsSeriesEntryAndPassesTheResultOn) {
  for (const bool isT7 : {false, true}) {
    for (const Reader& r : kReaders) {
      const char* read = isT7 ? r.t7Read : r.otherRead;
      for (const bool fails : {false, true}) {
        InstallFakeLibrary();
        Fake().isT7 = isT7;
        Fake().results[read] = 7;
        if (fails) Fake().failNames = {read};
        Destinations d;
        ConsoleCapture capture;
        EXPECT_EQ(r.run(d), fails ? 0 : 7) << read;
        EXPECT_EQ(Fake().CallTexts(), ReaderCalls(r, isT7)) << read;
        EXPECT_EQ(Fake().calls.back().pointers[1], Destination(r, d)) << read;
        EXPECT_EQ(capture.Output(), "") << read;
      }
    }
  }
}

TEST_F(SettingsReadTest, TextsLongerThanTheBufferAreCutAtItsEnd) {
  for (const bool isT7 : {false, true}) {
    for (const Reader& r : kReaders) {
      if (r.kind != 's') continue;
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      Fake().texts[isT7 ? r.t7Read : r.otherRead] = std::string(200, 'Z');
      Destinations d;
      EXPECT_EQ(r.run(d), 1);
      EXPECT_EQ(std::string(d.text), std::string(kSettingTextSize - 1, 'Z')) << r.otherRead;
    }
  }
}

TEST_F(SettingsReadTest, GuardsRefuseBeforeAnyCallButTheTimerNeedsOnlyItsDestination) {
  for (const Reader& r : kReaders) {
    InstallFakeLibrary();
    SetFakeDeviceCount(0);
    Destinations d;
    ConsoleCapture capture;
    const bool reads = r.kind == 't';
    EXPECT_EQ(r.run(d), reads ? 1 : 0) << r.otherRead;
    EXPECT_EQ(capture.Output(), reads ? "" : kRefused) << r.otherRead;
    EXPECT_EQ(Fake().CallTexts(), reads ? ReaderCalls(r, false) : Calls{}) << r.otherRead;
  }
  InstallFakeLibrary();
  ConsoleCapture capture;
  EXPECT_EQ(OpGetStandbyTimer(nullptr), 0);
  SetFakeDeviceCount(0);
  CustomizedSetting setting = {};
  EXPECT_EQ(OpGetCustomizedSetting(&setting), 0);
  EXPECT_EQ(capture.Output(), std::string(kRefused) + kRefused);
  EXPECT_TRUE(Fake().calls.empty());
}

// The record with its input-only fields marked: a full read must not touch them.
CustomizedSetting Marked() {
  CustomizedSetting s = {};
  std::strcpy(s.vidText, "VVVV");
  std::strcpy(s.hddString1, "ONE");
  std::strcpy(s.hddString2, "TWO");
  return s;
}

TEST_F(SettingsReadTest, AFullReadFillsTheSevenFieldsInOrderAndStopsAtAFailingRead) {
  for (const bool isT7 : {false, true}) {
    Calls all;
    for (const Reader& r : kReaders) {
      for (const std::string& call : ReaderCalls(r, isT7)) all.push_back(call);
    }
    for (size_t failing = 0; failing <= kReaders.size(); ++failing) {  // past the end: none
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      Fake().results[isT7 ? kReaders[6].t7Read : kReaders[6].otherRead] = 42;
      if (failing < kReaders.size()) {
        Fake().failNames = {isT7 ? kReaders[failing].t7Read : kReaders[failing].otherRead};
      }
      CustomizedSetting s = Marked();
      ConsoleCapture capture;
      EXPECT_EQ(OpGetCustomizedSetting(&s), failing < kReaders.size() ? 0 : 42) << failing;
      const bool filled[] = {s.vid == 0x1A2B,
                             s.pid == 0x00C4,
                             std::string(s.manufacturer) == "Maker",
                             std::string(s.product) == "Bridge",
                             std::string(s.serialNumber) == (isT7 ? "SN-SCSI" : "SN-FLASH"),
                             std::string(s.hddString) == "HDD STRING",
                             s.standbyTimer == 300};
      for (size_t i = 0; i < kReaders.size(); ++i) EXPECT_EQ(filled[i], i < failing) << failing;
      const Calls made = Fake().CallTexts();
      EXPECT_EQ(made, Calls(all.begin(), all.begin() + made.size())) << failing;
      if (failing < kReaders.size()) {
        EXPECT_EQ(Fake().calls.back().name, *Fake().failNames.begin()) << "read after a failure";
      } else {
        EXPECT_EQ(made, all);
      }
      EXPECT_STREQ(s.vidText, "VVVV");
      EXPECT_STREQ(s.hddString1, "ONE");
      EXPECT_STREQ(s.hddString2, "TWO");
      EXPECT_EQ(capture.Output(), "");
    }
  }
}

}  // namespace
