// Per test: a fresh folder for the state file, the simulator's variables
// pointing into it, a fresh library session; and call steps for tables.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sim/entries.h"
#include "sim/env.h"
#include "sim/session.h"
#include "sim/state_json.h"
#include "sim/state_store.h"

namespace sim {

inline void PrintTo(const Device& device, std::ostream* os) { *os << StateToJson(State{{device}}); }

namespace testing {

constexpr const char* kDev = "sim0";

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void SetFaults(const std::string& rules) { ::setenv(kFaultVariable, rules.c_str(), 1); }

class SimTest : public ::testing::Test {
 protected:
  SimTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bridgesim-XXXXXX").string();
    EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    ::setenv(kStateVariable, StatePath().c_str(), 1);
    ::unsetenv(kTraceVariable);
    ::unsetenv(kFaultVariable);
    ResetSessionForTest();
  }
  ~SimTest() override {
    ::unsetenv(kTraceVariable);
    ::unsetenv(kFaultVariable);
    ResetSessionForTest();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }
  std::string StatePath() const { return File("state.json"); }
  void Write(const State& state) const {
    std::string error;
    ASSERT_TRUE(StateStore(StatePath()).Overwrite(state, &error)) << error;
  }
  void UseSingleDevice(Series series) const { Write(State{{DefaultDevice(0, series)}}); }
  Device ReadDevice(std::size_t index = 0) const {
    State state;
    std::string error;
    EXPECT_TRUE(StateStore(StatePath()).Load(&state, &error)) << error;
    return index < state.devices.size() ? state.devices[index] : Device();
  }
  std::string EnableTrace() const {
    ::setenv(kTraceVariable, File("trace.txt").c_str(), 1);
    return File("trace.txt");
  }

 private:
  std::string folder_;
};

template <typename P>
class SimParamTest : public SimTest, public ::testing::WithParamInterface<P> {};

// Runs "CALL; CALL; ..." where CALL is [DEVICE/]NAME[:ARG][=RESULT]: entry
// QZ_NAME on DEVICE (default sim0) with ARG must give RESULT (default 1).
// A call of one text takes ARG, else the device.
using Call = std::function<int32_t(const char* device, const std::string& arg)>;
inline Call Adapt(int32_t (*f)()) {
  return [f](const char*, const std::string&) { return f(); };
}
inline Call Adapt(int32_t (*f)(const char*)) {
  return [f](const char* d, const std::string& a) { return f(a.empty() ? d : a.c_str()); };
}
inline Call Adapt(int32_t (*f)(const char*, const char*)) {
  return [f](const char* d, const std::string& a) { return f(d, a.c_str()); };
}
inline Call Adapt(int32_t (*f)(const char*, int32_t)) {
  return [f](const char* d, const std::string& a) { return f(d, std::stoi(a)); };
}
inline Call Adapt(int32_t (*f)(const char*, int32_t*)) {  // gives the value read
  return [f](const char* d, const std::string&) {
    int32_t value = -1;
    return f(d, &value) == 1 ? value : -1;
  };
}
// clang-format off
#define SIM_CALL(n) {#n, Adapt(entry::QZ_##n)},
inline void RunScript(const std::string& script) {
  static const std::map<std::string, Call> calls = {
      SIM_CALL(EnableUpdateVID) SIM_CALL(EnableUpdatePID) SIM_CALL(EnableUpdateSN)
      SIM_CALL(EnableUpdateStandbyTimer) SIM_CALL(EnableUpdateManuProdCtl)
      SIM_CALL(EnableUpdateInquiryCtl) SIM_CALL(EnableUpdateManuStr) SIM_CALL(EnableUpdateProdStr)
      SIM_CALL(EnableUpdateDisplayHDDStrSetting) SIM_CALL(EnableMapToHDDStr)
      SIM_CALL(SetVIDValue) SIM_CALL(SetPIDValue) SIM_CALL(SetSerialNumStr)
      SIM_CALL(SetScsiVidString) SIM_CALL(SetScsiPidString) SIM_CALL(SetUsbManuString)
      SIM_CALL(SetUsbProdString) SIM_CALL(SetManuStr) SIM_CALL(SetProdString)
      SIM_CALL(SetStandbyTimer) SIM_CALL(SetManuProdCtl) SIM_CALL(SetInquiryCtl)
      SIM_CALL(SetSNFromNVRAMTable) SIM_CALL(UpdateT7StandbyTimer) SIM_CALL(IsQZT7Series)
      SIM_CALL(InitialCustomizedSettingTable) SIM_CALL(UpdateCustomizedSetting)
      SIM_CALL(CheckLoadBinFileMatch) SIM_CALL(SetFWBinFilePath) SIM_CALL(GetRunningCodeMode)
      SIM_CALL(FWUpdateProgramming) SIM_CALL(FWUpdateProgrammingNoCustomizedSetting)
      SIM_CALL(FWUpdateProgrammingEX)};
  // clang-format on
  std::istringstream in(script);
  for (std::string call; std::getline(in, call, ';');) {
    call.erase(0, call.find_first_not_of(' '));
    int32_t expect = 1;
    if (const auto eq = call.rfind('='); eq != std::string::npos) {
      expect = std::stoi(call.substr(eq + 1));
      call.resize(eq);
    }
    const auto colon = std::min(call.find(':'), call.size());
    const std::string arg = call.substr(std::min(colon + 1, call.size()));
    std::string name = call.substr(0, colon), device = kDev;
    if (const auto slash = name.find('/'); slash != std::string::npos) {
      device = name.substr(0, slash);
      name.erase(0, slash + 1);
    }
    ASSERT_EQ(calls.count(name), 1u) << name;
    ASSERT_EQ(calls.at(name)(device.c_str(), arg), expect) << call;
  }
}
#undef SIM_CALL

// A row's label names its test case.
struct LabelName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return info.param.label;
  }
};

}  // namespace testing
}  // namespace sim
