// The operations over the fake: calls per series, each failing in turn, results, guards.
#include "ops/operations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

using namespace ops;

namespace {

using Strings = std::vector<std::string>;
const char* const kRefused = "Input parameter error! \n";

CustomizedSetting FullRecord() {
  return {0, 0, "12AB", "0C0D", "Maker", "Box", "SN01", "HDDV", "HDDP", "", 300};
}

// A step: "7:" or "o:" limits it to one series; after the call, "!text" is
// what a failure of it prints before the operation stops, "+text" what it
// prints while the operation goes on. Init, Commit and T7? abbreviate.
struct Step {
  std::string call, onFailure;
  bool goesOn = false;
};

Step Parse(std::string text, bool isT7) {
  if (text == "Init") text = "InitialCustomizedSettingTable()";
  if (text == "Commit") text = "UpdateCustomizedSetting()";
  if (text == "T7?") text = "IsQZT7Series()";
  Step step;
  const size_t close = text.rfind(')');
  step.goesOn = close + 1 < text.size() && text[close + 1] == '+';
  if (close + 1 < text.size()) step.onFailure = text.substr(close + 2);
  std::string name = text.substr(0, text.find('(')), args = text.substr(name.size() + 1);
  args.resize(args.rfind(')'));
  const bool noDevice = name == "InitialCustomizedSettingTable" || name == "SetFWBinFilePath";
  if (!noDevice) args = args.empty() ? "\"dev0\"" : "\"dev0\", " + args;
  const int result = name == "IsQZT7Series" ? isT7 : 1;
  step.call = "QZ_" + name + "(" + args + ") = " + std::to_string(result);
  return step;
}

std::vector<Step> StepsFor(const std::string& list, bool isT7) {
  std::vector<Step> steps;
  std::istringstream in(list);
  for (std::string text; std::getline(in, text, ';');) {
    if (text.rfind(isT7 ? "o:" : "7:", 0) == 0) continue;
    const bool limited = text.rfind("7:", 0) == 0 || text.rfind("o:", 0) == 0;
    steps.push_back(Parse(limited ? text.substr(2) : text, isT7));
  }
  return steps;
}

std::string NameOf(const std::string& call) { return call.substr(0, call.find('(')); }

struct Operation {
  const char* name;
  std::function<int32_t()> run;
  const char* steps;  // separated by ';'
  bool deviceGuard = true;
};

const char* device;  // the first listed device, or null for none
char text[kLibraryTextSize];
uint16_t id;
int32_t seconds;
const CustomizedSetting kFull = FullRecord();
CustomizedSetting record;

// The named-settings write of the full record with one field changed.
int32_t SetNamedWith(char (CustomizedSetting::*field)[kLibraryTextSize], const char* value,
                     uint32_t selection, int32_t seconds = 300) {
  CustomizedSetting changed = kFull;
  std::snprintf(changed.*field, kLibraryTextSize, "%s", value);
  changed.standbyTimer = seconds;
  return OpSetCustomizedSettings(device, selection, &changed);
}
#define IMAGE                                                \
  "CheckLoadBinFileMatch(\"fw.bin\")!Bin file not match \n;" \
  "SetFWBinFilePath(\"fw.bin\")!Set firmware bin file path fail\n;"
#define INIT_GOES_ON "InitialCustomizedSettingTable()+Initial NVRAM data setting fail.\n;"

// clang-format off
const std::vector<Operation> kOperations = {
    {"fv", [] { return OpGetFWVersion(device, text); }, "GetRunningCodeMode(out);GetFWVersion(out)"},
    {"ub", [] { return OpUpdateFromBin(device, "fw.bin"); }, IMAGE INIT_GOES_ON "FWUpdateProgramming()"},
    {"un", [] { return OpUpdateNoCustomizedSetting(device, "fw.bin"); },
     "GetRunningCodeMode(out)!Current FW version is unknown \n;" IMAGE INIT_GOES_ON
     "FWUpdateProgrammingNoCustomizedSetting()"},
    {"ue", [] { return OpUpdateWithCustomizedSetting(device, &kFull, "fw.bin"); },
     IMAGE "Init;T7?;EnableUpdateVID(1);EnableUpdatePID(1);EnableUpdateSN(1);"
     "EnableUpdateStandbyTimer(1);7:EnableUpdateManuProdCtl(1);7:EnableUpdateInquiryCtl(1);"
     "o:EnableUpdateDisplayHDDStrSetting(1);o:EnableUpdateManuStr(1);o:EnableUpdateProdStr(1);"
     "SetVIDValue(\"12AB\");SetPIDValue(\"0C0D\");SetSerialNumStr(\"SN01\");"
     "SetScsiVidString(\"HDDV\");SetScsiPidString(\"HDDP\");SetStandbyTimer(300);"
     "7:SetManuProdCtl(1);7:SetInquiryCtl(1);7:SetUsbManuString(\"Maker\");"
     "7:SetUsbProdString(\"Box\");o:EnableMapToHDDStr(1);o:SetSNFromNVRAMTable(1);"
     "o:SetManuStr(\"Maker\");o:SetProdString(\"Box\");FWUpdateProgrammingEX()"},
    {"ged", [] { return OpGetCustomizedSetting(device, &record); },
     "T7?;7:GetT7VIDbySCSICmd(out);o:GetVIDfromFlash(out);T7?;7:GetT7PIDbySCSICmd(out);"
     "o:GetPIDfromFlash(out);GetManuStrfromFlash(out);GetProdStrfromFlash(out);T7?;"
     "7:GetT7SNbySCSICmd(out);o:GetSNfromFlash(out);GetHDDStrfromFlash(out);T7?;"
     "7:GetT7StandbyTimerbySCSICmd(out);o:GetStandbyTimerfromFlash(out)"},
    {"gvd", [] { return OpGetVendorId(device, &id); }, "T7?;7:GetT7VIDbySCSICmd(out);o:GetVIDfromFlash(out)"},
    {"gpd", [] { return OpGetProductId(device, &id); }, "T7?;7:GetT7PIDbySCSICmd(out);o:GetPIDfromFlash(out)"},
    {"gmd", [] { return OpGetManufacturerString(device, text); }, "GetManuStrfromFlash(out)"},
    {"gid", [] { return OpGetProductString(device, text); }, "GetProdStrfromFlash(out)"},
    {"gsd", [] { return OpGetSerialNumber(device, text); }, "T7?;7:GetT7SNbySCSICmd(out);o:GetSNfromFlash(out)"},
    {"gnd", [] { return OpGetHDDString(device, text); }, "GetHDDStrfromFlash(out)"},
    {"gtd", [] { return OpGetStandbyTimer(device, &seconds); },
     "T7?;7:GetT7StandbyTimerbySCSICmd(out);o:GetStandbyTimerfromFlash(out)", false},
    {"sv", [] { return OpSetVendorId(device, "12AB"); }, "Init;EnableUpdateVID(1);SetVIDValue(\"12AB\");Commit"},
    {"sp", [] { return OpSetProductId(device, "0C4"); }, "Init;EnableUpdatePID(1);SetPIDValue(\"0C4\");Commit"},
    {"ss", [] { return OpSetSerialNumber(device, "SN01"); },
     "Init;T7?;EnableUpdateSN(1);o:SetSNFromNVRAMTable(1);SetSerialNumStr(\"SN01\");Commit"},
    {"sm", [] { return OpSetManufacturerString(device, "Maker"); },
     "Init;T7?;7:EnableUpdateManuProdCtl(1);7:SetManuProdCtl(1);7:SetUsbManuString(\"Maker\");"
     "o:EnableUpdateManuStr(1);o:SetManuStr(\"Maker\");Commit"},
    {"si", [] { return OpSetProductString(device, "Box"); },
     "Init;T7?;7:EnableUpdateManuProdCtl(1);7:SetManuProdCtl(1);7:SetUsbProdString(\"Box\");"
     "o:EnableUpdateProdStr(1);o:SetProdString(\"Box\");Commit"},
    {"st", [] { return OpSetStandbyTimer(device, 600); },
     "T7?;7:UpdateT7StandbyTimer(600);o:Init;o:EnableUpdateStandbyTimer(1);o:SetStandbyTimer(600);"
     "o:Commit"},
    {"sn", [] { return OpSetHDDString(device, "VEND", "PROD"); },
     "Init;T7?;7:EnableUpdateInquiryCtl(1);o:EnableUpdateDisplayHDDStrSetting(1);"
     "SetScsiVidString(\"VEND\");SetScsiPidString(\"PROD\");7:SetInquiryCtl(1);"
     "o:EnableMapToHDDStr(1);Commit"},
    // Named settings only: the update's staging filtered, then one commit.
    {"s3", [] { return OpSetCustomizedSettings(device, kSettingVid | kSettingSerial | kSettingHdd, &kFull); },
     "Init;T7?;EnableUpdateVID(1);EnableUpdateSN(1);7:EnableUpdateInquiryCtl(1);"
     "o:EnableUpdateDisplayHDDStrSetting(1);SetVIDValue(\"12AB\");SetSerialNumStr(\"SN01\");"
     "SetScsiVidString(\"HDDV\");SetScsiPidString(\"HDDP\");7:SetInquiryCtl(1);o:EnableMapToHDDStr(1);"
     "o:SetSNFromNVRAMTable(1);Commit"},
    {"s4", [] { return OpSetCustomizedSettings(device, kSettingPid | kSettingManufacturer | kSettingProduct | kSettingTimer, &kFull); },
     "Init;T7?;EnableUpdatePID(1);o:EnableUpdateStandbyTimer(1);7:EnableUpdateManuProdCtl(1);"
     "o:EnableUpdateManuStr(1);o:EnableUpdateProdStr(1);SetPIDValue(\"0C0D\");o:SetStandbyTimer(300);"
     "7:SetManuProdCtl(1);7:SetUsbManuString(\"Maker\");7:SetUsbProdString(\"Box\");"
     "o:SetManuStr(\"Maker\");o:SetProdString(\"Box\");Commit;7:UpdateT7StandbyTimer(300)"},
    {"s1", [] { return OpSetCustomizedSettings(device, kSettingTimer, &kFull); },
     "Init;T7?;7:UpdateT7StandbyTimer(300);o:EnableUpdateStandbyTimer(1);o:SetStandbyTimer(300);o:Commit"},
};
// clang-format on

class OperationsTest : public ::testing::Test {
 protected:
  void TearDown() override { UninstallFakeLibrary(); }
  // Runs the operation over a fresh fake; returns its result, output in out_.
  int32_t Run(const std::function<int32_t()>& op, const std::string& faults) {
    InstallFakeLibrary(faults);
    device = runtime::DeviceList[0];
    std::memset(text, 0, sizeof text);
    id = 0;
    seconds = 0;
    record = {};
    ConsoleCapture capture;
    watch_ = sdk::RefusalWatch();
    const int32_t result = op();
    out_ = capture.Output();
    return result;
  }
  std::string out_;
  sdk::RefusalWatch watch_;
};

TEST_F(OperationsTest, EachCallInSeriesOrderAndEachFailureInTurn) {
  for (const Operation& op : kOperations) {
    for (const bool isT7 : {true, false}) {
      const std::string series = isT7 ? "QZ_IsQZT7Series=1" : "";
      const std::vector<Step> steps = StepsFor(op.steps, isT7);
      Strings all, names;
      for (const Step& step : steps) all.push_back(step.call);
      EXPECT_EQ(Run(op.run, series), 1) << op.name;
      EXPECT_EQ(Fake().calls, all) << op.name << " isT7 " << isT7;
      EXPECT_EQ(out_, "") << op.name;
      for (size_t at = 0; at < steps.size(); ++at) {
        const std::string name = NameOf(steps[at].call);
        if (name == "QZ_IsQZT7Series") continue;  // its 0 picks a series
        int nth = 0;
        for (size_t i = 0; i <= at; ++i) nth += NameOf(steps[i].call) == name;
        SCOPED_TRACE(std::string(op.name) + " " + series + " failing " + name +
                     std::to_string(nth));
        const int32_t result = Run(op.run, series + "," + name + "@" + std::to_string(nth));
        size_t made = steps[at].goesOn ? steps.size() : at + 1;
        // A failed Init still lets the series be asked, then nothing more.
        if (name == "QZ_InitialCustomizedSettingTable" && at + 1 < steps.size() &&
            NameOf(steps[at + 1].call) == "QZ_IsQZT7Series") {
          ++made;
        }
        names.assign(all.begin(), all.begin() + made);
        for (std::string& call : names) call = NameOf(call);
        EXPECT_EQ(Fake().Names(), names);
        EXPECT_EQ(result, steps[at].goesOn ? 1 : 0);
        // The call that refused is known without the operation saying so.
        EXPECT_STREQ(watch_.FirstRefused(), name.c_str());
        EXPECT_EQ(out_, steps[at].onFailure);
      }
    }
  }
}

TEST_F(OperationsTest, WithoutADeviceOnlyTheParameterErrorIsPrinted) {
  for (const Operation& op : kOperations) {
    if (!op.deviceGuard) continue;
    EXPECT_EQ(Run([&op] { return device = nullptr, op.run(); }, ""), 0) << op.name;
    EXPECT_EQ(out_ + std::to_string(Fake().calls.size()), std::string(kRefused) + "0") << op.name;
  }
  EXPECT_EQ(Run([] { return OpGetStandbyTimer(device, nullptr); }, ""), 0);
  EXPECT_EQ(out_, kRefused);
}

// clang-format off
TEST_F(OperationsTest, ResultsPassedOnOrMadeOne) {
  const struct { const char* op; const char* faults; int32_t expected; } cases[] = {
      {"ss", "QZ_UpdateCustomizedSetting=7", 7}, {"sm", "QZ_EnableUpdateManuStr=2", 1},
      {"sn", "QZ_IsQZT7Series=1,QZ_UpdateCustomizedSetting=-3", -3},
      {"st", "QZ_UpdateCustomizedSetting=7", 1}, {"st", "QZ_IsQZT7Series=1,QZ_UpdateT7StandbyTimer=-1", 1},
      {"ub", "QZ_FWUpdateProgramming=9", 9}, {"un", "QZ_FWUpdateProgrammingNoCustomizedSetting=-2", -2},
      {"ue", "QZ_FWUpdateProgrammingEX=3", 3}, {"ged", "QZ_GetStandbyTimerfromFlash=5", 5},
      {"gvd", "QZ_GetVIDfromFlash=4", 4}, {"gmd", "QZ_GetManuStrfromFlash=6", 6}};
  for (const auto& c : cases) {
    for (const Operation& op : kOperations) {
      if (op.name == std::string(c.op)) { EXPECT_EQ(Run(op.run, c.faults), c.expected) << c.faults; }
    }
  }
}

TEST_F(OperationsTest, RunningCodeModes) {
  const char* const kNotSupported = "Internal code is not supported in current function\n";
  const struct { int32_t mode, fv; const char *text, *un; } cases[] = {
      {0, 0, "", "Current FW version is unknown \n"}, {1, 1, "Internal code", kNotSupported},
      {3, 0, "", kNotSupported}};
  for (const auto& c : cases) {
    EXPECT_EQ(Run([&c] { return Fake().runningMode = c.mode, OpGetFWVersion(device, text); }, ""), c.fv);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(Run([&c] { return Fake().runningMode = c.mode, OpUpdateNoCustomizedSetting(device, "f"); }, ""), 0);
    EXPECT_EQ(out_, c.un);
    EXPECT_EQ(Fake().Names(), Strings{"QZ_GetRunningCodeMode"});
  }
}

TEST_F(OperationsTest, InputsRefusedOrPassedOn) {
  const struct { std::function<int32_t()> run; size_t calls; } cases[] = {
      {[] { return OpSetSerialNumber(device, ""); }, 0}, {[] { return OpSetManufacturerString(device, ""); }, 0},
      {[] { return OpSetProductString(device, ""); }, 0}, {[] { return OpSetStandbyTimer(device, -1); }, 0},
      {[] { return OpSetHDDString(device, nullptr, "b"); }, 0}, {[] { return OpSetHDDString(device, "a", nullptr); }, 0},
      {[] { return OpSetStandbyTimer(device, 0); }, 5}, {[] { return OpSetHDDString(device, "", ""); }, 7},
      {[] { return OpSetVendorId(device, ""); }, 4},
      // The named-settings write refuses what the single writers refuse, for the named settings only.
      {[] { return SetNamedWith(&CustomizedSetting::serialNumber, "", kSettingSerial); }, 0},
      {[] { return SetNamedWith(&CustomizedSetting::manufacturer, "", kSettingManufacturer); }, 0},
      {[] { return SetNamedWith(&CustomizedSetting::product, "", kSettingProduct); }, 0},
      {[] { return SetNamedWith(&CustomizedSetting::product, "Box", kSettingTimer, -1); }, 0},
      {[] { return SetNamedWith(&CustomizedSetting::product, "Box", 0); }, 0},
      {[] { return SetNamedWith(&CustomizedSetting::product, "Box", kSettingProduct | 1U << 7); }, 0},
      {[] { return SetNamedWith(&CustomizedSetting::serialNumber, "S", kSettingSerial | kSettingProduct); }, 8},
      {[] { return SetNamedWith(&CustomizedSetting::manufacturer, "", kSettingTimer, 0); }, 5}};
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.run, ""), c.calls ? 1 : 0);
    EXPECT_EQ(out_, c.calls ? "" : kRefused);
    EXPECT_EQ(Fake().calls.size(), c.calls);
  }
  // A read text that fills the buffer is cut to keep its terminator.
  Run([] { return Fake().texts["QZ_GetSNfromFlash"] = std::string(99, 'S'), OpGetSerialNumber(device, text); }, "");
  EXPECT_EQ(std::string(text), std::string(kLibraryTextSize - 1, 'S'));
}
// clang-format on

TEST_F(OperationsTest, UpdateWithSettingsNeedsTheWholeRecordAfterTheImage) {
  for (int field = 0; field < 8; ++field) {
    CustomizedSetting s = FullRecord();
    char* texts[] = {s.vidText,      s.pidText,    s.manufacturer, s.product,
                     s.serialNumber, s.hddString1, s.hddString2,   s.vidText};
    texts[field][0] = '\0';
    if (field == 7) s = FullRecord(), s.standbyTimer = -1;
    EXPECT_EQ(Run([&s] { return OpUpdateWithCustomizedSetting(device, &s, "fw.bin"); }, ""), 0);
    EXPECT_EQ(out_, kRefused) << field;
    EXPECT_EQ(Fake().Names(), (Strings{"QZ_CheckLoadBinFileMatch", "QZ_SetFWBinFilePath"}));
    Run([&s] { return OpUpdateWithCustomizedSetting(device, &s, "fw.bin"); },
        "QZ_CheckLoadBinFileMatch");
    EXPECT_EQ(out_, "Bin file not match \n") << field;
  }
  CustomizedSetting s = FullRecord();
  s.standbyTimer = 0;
  EXPECT_EQ(Run([&s] { return OpUpdateWithCustomizedSetting(device, &s, "fw.bin"); }, ""), 1);
}

}  // namespace
