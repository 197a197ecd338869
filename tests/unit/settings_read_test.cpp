// The settings reads: the call per chip series, the full read's order and its
// stop at each failing read, result pass-through, guards, over-long texts.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ops/operations.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

namespace {

class SettingsReadTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFakeLibrary(); }
  void TearDown() override { UninstallFakeLibrary(); }
};

// What a single reader wrote into its destination, as text.
struct Destinations {
  uint16_t id = 0;
  int32_t timer = 0;
  char text[kSettingTextSize] = {};
};

struct ReaderCase {
  const char* name;
  const char* t7Read;  // the series query precedes it when set apart from otherRead
  const char* otherRead;
  std::function<int32_t(Destinations&)> run;
  std::function<const void*(Destinations&)> destination;
};

const void* IdOf(Destinations& d) { return &d.id; }
const void* TimerOf(Destinations& d) { return &d.timer; }
const void* TextOf(Destinations& d) { return d.text; }

const std::vector<ReaderCase>& Readers() {
  static const std::vector<ReaderCase> readers = {
      {"vendor id", "QZ_GetT7VIDbySCSICmd", "QZ_GetVIDfromFlash",
       [](Destinations& d) { return OpGetVendorId(&d.id); }, IdOf},
      {"product id", "QZ_GetT7PIDbySCSICmd", "QZ_GetPIDfromFlash",
       [](Destinations& d) { return OpGetProductId(&d.id); }, IdOf},
      {"manufacturer", "QZ_GetManuStrfromFlash", "QZ_GetManuStrfromFlash",
       [](Destinations& d) { return OpGetManufacturerString(d.text); }, TextOf},
      {"product", "QZ_GetProdStrfromFlash", "QZ_GetProdStrfromFlash",
       [](Destinations& d) { return OpGetProductString(d.text); }, TextOf},
      {"serial number", "QZ_GetT7SNbySCSICmd", "QZ_GetSNfromFlash",
       [](Destinations& d) { return OpGetSerialNumber(d.text); }, TextOf},
      {"HDD string", "QZ_GetHDDStrfromFlash", "QZ_GetHDDStrfromFlash",
       [](Destinations& d) { return OpGetHDDString(d.text); }, TextOf},
      {"standby timer", "QZ_GetT7StandbyTimerbySCSICmd", "QZ_GetStandbyTimerfromFlash",
       [](Destinations& d) { return OpGetStandbyTimer(&d.timer); }, TimerOf},
  };
  return readers;
}

bool SeriesDependent(const ReaderCase& reader) {
  return std::strcmp(reader.t7Read, reader.otherRead) != 0;
}

std::vector<std::string> ExpectedCalls(const ReaderCase& reader, bool isT7) {
  std::vector<std::string> calls;
  if (SeriesDependent(reader)) calls.push_back("QZ_IsQZT7Series(\"dev0\")");
  calls.push_back(std::string(isT7 ? reader.t7Read : reader.otherRead) + "(\"dev0\", out)");
  return calls;
}

TEST_F(SettingsReadTest, EachReaderMakesItsSeriesCallIntoTheCallersDestination) {
  for (const bool isT7 : {false, true}) {
    for (const ReaderCase& reader : Readers()) {
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      Destinations d;
      ConsoleCapture capture;
      EXPECT_EQ(reader.run(d), 1) << reader.name;
      EXPECT_EQ(Fake().CallTexts(), ExpectedCalls(reader, isT7)) << reader.name << " t7 " << isT7;
      EXPECT_EQ(Fake().calls.back().pointers[1], reader.destination(d)) << reader.name;
      EXPECT_EQ(capture.Output(), "") << reader.name;
    }
  }
}

TEST_F(SettingsReadTest, ReadersPassTheirReadsResultOnUnchanged) {
  for (const int32_t value : {0, 7, -3}) {
    for (const ReaderCase& reader : Readers()) {
      for (const bool isT7 : {false, true}) {
        InstallFakeLibrary();
        Fake().isT7 = isT7;
        Fake().results[isT7 ? reader.t7Read : reader.otherRead] = value;
        Destinations d;
        EXPECT_EQ(reader.run(d), value) << reader.name;
      }
    }
  }
}

TEST_F(SettingsReadTest, AFailedReadLeavesTheCallersZeros) {
  for (const ReaderCase& reader : Readers()) {
    InstallFakeLibrary();
    Fake().failNames = {reader.otherRead};
    Destinations d;
    ConsoleCapture capture;
    EXPECT_EQ(reader.run(d), 0) << reader.name;
    EXPECT_EQ(d.id, 0);
    EXPECT_EQ(d.timer, 0);
    EXPECT_STREQ(d.text, "");
    EXPECT_EQ(capture.Output(), "") << reader.name;
  }
}

TEST_F(SettingsReadTest, TextsLongerThanTheBufferAreCutAtItsEnd) {
  for (const bool isT7 : {false, true}) {
    for (const ReaderCase& reader : Readers()) {
      Destinations d;
      if (reader.destination(d) != d.text) continue;
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      const char* name = isT7 ? reader.t7Read : reader.otherRead;
      Fake().texts[name] = std::string(200, 'Z');
      EXPECT_EQ(reader.run(d), 1) << name;
      EXPECT_EQ(std::string(d.text), std::string(kSettingTextSize - 1, 'Z')) << name;
    }
  }
}

TEST_F(SettingsReadTest, NoDeviceStopsEveryReaderButTheTimer) {
  for (const ReaderCase& reader : Readers()) {
    InstallFakeLibrary();
    SetFakeDeviceCount(0);
    Destinations d;
    ConsoleCapture capture;
    const int32_t result = reader.run(d);
    if (reader.destination(d) == &d.timer) {
      // Guarded by its destination alone: it still reads.
      EXPECT_EQ(result, 1);
      EXPECT_EQ(capture.Output(), "");
      EXPECT_EQ(Fake().CallTexts(), ExpectedCalls(reader, false));
    } else {
      EXPECT_EQ(result, 0) << reader.name;
      EXPECT_EQ(capture.Output(), "Input parameter error! \n") << reader.name;
      EXPECT_TRUE(Fake().calls.empty()) << reader.name;
    }
  }
}

TEST_F(SettingsReadTest, TheTimerReaderRefusesAMissingDestination) {
  ConsoleCapture capture;
  EXPECT_EQ(OpGetStandbyTimer(nullptr), 0);
  EXPECT_EQ(capture.Output(), "Input parameter error! \n");
  EXPECT_TRUE(Fake().calls.empty());
}

// The seven reads of a full read, in order, for the series given.
std::vector<std::string> FullReadCalls(bool isT7) {
  std::vector<std::string> calls;
  for (const ReaderCase& reader : Readers()) {
    for (const std::string& call : ExpectedCalls(reader, isT7)) calls.push_back(call);
  }
  return calls;
}

CustomizedSetting MarkedSetting() {
  CustomizedSetting setting = {};
  std::strcpy(setting.vidText, "VVVV");
  std::strcpy(setting.pidText, "PPPP");
  std::strcpy(setting.hddString1, "ONE");
  std::strcpy(setting.hddString2, "TWO");
  return setting;
}

void ExpectInputFieldsUntouched(const CustomizedSetting& setting) {
  EXPECT_STREQ(setting.vidText, "VVVV");
  EXPECT_STREQ(setting.pidText, "PPPP");
  EXPECT_STREQ(setting.hddString1, "ONE");
  EXPECT_STREQ(setting.hddString2, "TWO");
}

TEST_F(SettingsReadTest, AFullReadFillsTheSevenFieldsInOrder) {
  for (const bool isT7 : {false, true}) {
    InstallFakeLibrary();
    Fake().isT7 = isT7;
    CustomizedSetting setting = MarkedSetting();
    ConsoleCapture capture;
    EXPECT_EQ(OpGetCustomizedSetting(&setting), 1);
    EXPECT_EQ(Fake().CallTexts(), FullReadCalls(isT7));
    EXPECT_EQ(setting.vid, 0x1A2B);
    EXPECT_EQ(setting.pid, 0x00C4);
    EXPECT_STREQ(setting.manufacturer, "Maker");
    EXPECT_STREQ(setting.product, "Bridge");
    EXPECT_STREQ(setting.serialNumber, isT7 ? "SN-SCSI" : "SN-FLASH");
    EXPECT_STREQ(setting.hddString, "HDD STRING");
    EXPECT_EQ(setting.standbyTimer, 300);
    ExpectInputFieldsUntouched(setting);
    EXPECT_EQ(capture.Output(), "");
  }
}

// How many of the seven fields hold their value after a full read.
int FilledFields(const CustomizedSetting& s) {
  const bool filled[] = {s.vid != 0,
                         s.pid != 0,
                         s.manufacturer[0] != '\0',
                         s.product[0] != '\0',
                         s.serialNumber[0] != '\0',
                         s.hddString[0] != '\0',
                         s.standbyTimer != 0};
  int count = 0;
  while (count < 7 && filled[count]) ++count;
  for (int i = count; i < 7; ++i) EXPECT_FALSE(filled[i]) << "field " << i << " after a stop";
  return count;
}

TEST_F(SettingsReadTest, AFullReadStopsAtEachFailingRead) {
  for (const bool isT7 : {false, true}) {
    for (size_t failing = 0; failing < Readers().size(); ++failing) {
      const ReaderCase& reader = Readers()[failing];
      const std::string failName = isT7 ? reader.t7Read : reader.otherRead;
      InstallFakeLibrary();
      Fake().isT7 = isT7;
      Fake().failNames = {failName};
      CustomizedSetting setting = MarkedSetting();
      ConsoleCapture capture;
      EXPECT_EQ(OpGetCustomizedSetting(&setting), 0) << failName;
      EXPECT_EQ(FilledFields(setting), static_cast<int>(failing)) << failName;
      ExpectInputFieldsUntouched(setting);
      ASSERT_FALSE(Fake().calls.empty());
      EXPECT_EQ(Fake().calls.back().name, failName) << "no read after the failing one";
      EXPECT_EQ(capture.Output(), "") << failName;
    }
  }
}

TEST_F(SettingsReadTest, AFullReadReturnsTheTimerReadsResult) {
  for (const bool isT7 : {false, true}) {
    InstallFakeLibrary();
    Fake().isT7 = isT7;
    Fake().results[isT7 ? "QZ_GetT7StandbyTimerbySCSICmd" : "QZ_GetStandbyTimerfromFlash"] = 42;
    CustomizedSetting setting = {};
    EXPECT_EQ(OpGetCustomizedSetting(&setting), 42);
  }
}

TEST_F(SettingsReadTest, AFullReadWithoutADeviceWarnsOnceAndCallsNothing) {
  SetFakeDeviceCount(0);
  CustomizedSetting setting = {};
  ConsoleCapture capture;
  EXPECT_EQ(OpGetCustomizedSetting(&setting), 0);
  EXPECT_EQ(capture.Output(), "Input parameter error! \n");
  EXPECT_TRUE(Fake().calls.empty());
}

}  // namespace
