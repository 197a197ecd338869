// Per test: a fresh folder for the state file, the simulator's variables
// pointing into it, a fresh library session; and call scripts for tables.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "sim/entries.h"
#include "sim/env.h"
#include "sim/session.h"
#include "sim/state_store.h"

namespace sim::testing {

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class SimTest : public ::testing::Test {
 protected:
  SimTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bridgesim-XXXXXX").string();
    EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    ::setenv(kStateVariable, StatePath().c_str(), 1);
    for (const char* knob : {kTraceVariable, kFaultVariable, kInterruptVariable, kDelayVariable}) {
      ::unsetenv(knob);
    }
    ResetSessionForTest();
  }
  ~SimTest() override {
    ResetSessionForTest();
    std::filesystem::remove_all(folder_);
  }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }
  std::string StatePath() const { return File("state.json"); }
  void Write(const State& state) const {
    std::string error;
    ASSERT_TRUE(StateStore(StatePath()).Overwrite(state, &error)) << error;
  }
  Device ReadDevice(std::size_t index = 0) const {
    State state;
    std::string error;
    EXPECT_TRUE(StateStore(StatePath()).Load(&state, &error)) << error;
    return index < state.devices.size() ? state.devices[index] : Device();
  }

 private:
  std::string folder_;
};

template <typename P>
class SimParamTest : public SimTest, public ::testing::WithParamInterface<P> {};

// Runs "CALL; CALL; ..." where CALL is [DEVICE/]NAME[:ARG][=RESULT]: entry
// QZ_NAME on DEVICE (default sim0) with ARG must give RESULT (default 1).
// A call of one text takes ARG, else the device; a read gives the value read.
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
inline Call Adapt(int32_t (*f)(char*)) {
  return [f](const char*, const std::string&) {
    char text[80] = {};
    return f(text);
  };
}
inline Call Adapt(int32_t (*f)(const char*, char*)) {
  return [f](const char* d, const std::string&) {
    char text[80] = {};
    return f(d, text);
  };
}
template <typename T>
Call Adapt(int32_t (*f)(const char*, T*)) {
  return [f](const char* d, const std::string&) {
    T value = 0;
    return f(d, &value) == 1 ? static_cast<int32_t>(value) : -1;
  };
}
inline Call Adapt(int32_t (*f)(char**, int32_t*)) {  // gives the count
  return [f](const char*, const std::string&) {
    static char buffers[16][256];
    char* list[16];
    for (int i = 0; i < 16; ++i) list[i] = buffers[i];
    int32_t count = -1;
    return f(list, &count) == 1 ? count : -1;
  };
}
#define SIM_CALL(name, params, args) {#name + 3, Adapt(entry::name)},
inline void RunScript(const std::string& script) {
  static const std::map<std::string, Call> calls = {QZ_API_ENTRIES(SIM_CALL)};
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
    std::string name = call.substr(0, colon), device = "sim0";
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

}  // namespace sim::testing
