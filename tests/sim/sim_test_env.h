// Per test: a fresh folder for the state file, the knobs unset, a fresh
// library session; and call scripts for tables.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "sim/bridge/state_store.h"
#include "sim/library/entries.h"
#include "sim/library/env.h"
#include "sim/library/session.h"

namespace sim::testing {

inline std::string ReadText(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

class SimTest : public ::testing::Test {
 protected:
  SimTest() : folder_(std::filesystem::temp_directory_path() / "bridgesim-XXXXXX") {
    EXPECT_NE(::mkdtemp(folder_.data()), nullptr);
    ::setenv(kStateVariable, StatePath().c_str(), 1);
    for (const char* knob : {kTraceVariable, kFaultVariable, kInterruptVariable, kDelayVariable,
                             kProgramTimeVariable}) {
      ::unsetenv(knob);
    }
    ResetSessionForTest();
  }
  ~SimTest() override { std::filesystem::remove_all(folder_); }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }
  std::string StatePath() const { return File("state.json"); }
  void Write(const State& state) const {
    std::string error;
    ASSERT_TRUE(StateStore(StatePath()).Overwrite(state, &error)) << error;
  }
  State Read() const {
    State state;
    std::string error;
    EXPECT_TRUE(StateStore(StatePath()).Load(&state, &error)) << error;
    return state;
  }
  Device ReadDevice(std::size_t index = 0) const {
    const State state = Read();
    return index < state.devices.size() ? state.devices[index] : Device();
  }

 private:
  std::string folder_;
};

template <typename P>
class SimParamTest : public SimTest, public ::testing::WithParamInterface<P> {};

// Runs "CALL; CALL; ..." where CALL is [DEVICE/]NAME[:ARG][=RESULT]: entry
// QZ_NAME on DEVICE (default sim0) with ARG must give RESULT (default 1). A
// call of one text takes ARG, else the device; a number read and the listing
// give the value read (-1 on failure).
using Call = std::function<int32_t(const char* device, const std::string& arg)>;
template <typename... P>
Call Adapt(int32_t (*f)(P...)) {
  return [f](const char* d, const std::string& a) -> int32_t {
    char text[kLibraryTextSize] = {}, buffers[kMaxDevices][kDevicePathSize] = {};
    char* list[kMaxDevices];
    for (int i = 0; i < kMaxDevices; ++i) list[i] = buffers[i];
    int32_t number = 0;
    uint16_t id = 0;
    if constexpr (sizeof...(P) == 0) return f();
    if constexpr (std::is_same_v<int32_t (*)(P...), int32_t (*)(const char*)>) {
      return f(a.empty() ? d : a.c_str());
    }
    if constexpr (std::is_same_v<int32_t (*)(P...), int32_t (*)(char**, int32_t*)>) {
      return f(list, &number) == 1 ? number : -1;
    }
    if constexpr (sizeof...(P) == 2 &&
                  !std::is_same_v<int32_t (*)(P...), int32_t (*)(char**, int32_t*)>) {
      using A = std::tuple_element_t<1, std::tuple<P...>>;
      if constexpr (std::is_same_v<A, const char*>) return f(d, a.c_str());
      if constexpr (std::is_same_v<A, int32_t>) return f(d, std::stoi(a));
      if constexpr (std::is_same_v<A, char*>) return f(d, text);
      if constexpr (std::is_same_v<A, int32_t*>) return f(d, &number) == 1 ? number : -1;
      if constexpr (std::is_same_v<A, uint16_t*>) return f(d, &id) == 1 ? id : -1;
    }
    return -2;
  };
}

inline void RunScript(const std::string& script) {
#define SIM_CALL(name, params, args) {#name + 3, Adapt(entry::name)},
  static const std::map<std::string, Call> calls = {QZ_API_ENTRIES(SIM_CALL)};
#undef SIM_CALL
  std::istringstream in(script);
  for (std::string call; std::getline(in, call, ';');) {
    call.erase(0, call.find_first_not_of(' '));
    const auto eq = call.rfind('=');
    const int32_t expect = eq == std::string::npos ? 1 : std::stoi(call.substr(eq + 1));
    call.resize(std::min(eq, call.size()));
    const auto colon = std::min(call.find(':'), call.size()), slash = call.rfind('/', colon);
    const std::string arg = call.substr(std::min(colon + 1, call.size()));
    const std::string device = slash == std::string::npos ? "sim0" : call.substr(0, slash);
    const std::string name = call.substr(slash + 1, colon - slash - 1);
    ASSERT_EQ(calls.count(name), 1u) << name;
    ASSERT_EQ(calls.at(name)(device.c_str(), arg), expect) << call;
  }
}

struct LabelName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return info.param.label;
  }
};

}  // namespace sim::testing
