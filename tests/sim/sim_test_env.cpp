#include "sim_test_env.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/env.h"
#include "sim/session.h"
#include "sim/state_json.h"
#include "sim/state_store.h"

namespace sim {

void PrintTo(const Device& device, std::ostream* os) {
  State state;
  state.devices.push_back(device);
  *os << StateToJson(state);
}

namespace testing {

SimEnvironment::SimEnvironment() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bridgesim-test-XXXXXX").string();
  char* made = ::mkdtemp(pattern.data());
  EXPECT_NE(made, nullptr);
  folder_ = pattern;
  statePath_ = folder_ + "/state.json";
  ::setenv(kStateVariable, statePath_.c_str(), 1);
  ::unsetenv(kTraceVariable);
  ::unsetenv(kFaultVariable);
  ResetSessionForTest();
}

SimEnvironment::~SimEnvironment() {
  ::unsetenv(kTraceVariable);
  ::unsetenv(kFaultVariable);
  ResetSessionForTest();
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

void SimEnvironment::Write(const State& state) const {
  std::string error;
  ASSERT_TRUE(StateStore(statePath_).Overwrite(state, &error)) << error;
}

void SimEnvironment::UseSingleDevice(Series series) const {
  State state;
  state.devices.push_back(DefaultDevice(0, series));
  Write(state);
}

State SimEnvironment::Read() const {
  State state;
  std::string error;
  EXPECT_TRUE(StateStore(statePath_).Load(&state, &error)) << error;
  return state;
}

Device SimEnvironment::ReadDevice(std::size_t index) const {
  State state = Read();
  if (index >= state.devices.size()) {
    ADD_FAILURE() << "no device " << index;
    return Device();
  }
  return state.devices[index];
}

std::string SimEnvironment::EnableTrace() const {
  std::string path = File("trace.txt");
  ::setenv(kTraceVariable, path.c_str(), 1);
  return path;
}

std::string SimEnvironment::ReadText(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void SetFaults(const std::string& rules) { ::setenv(kFaultVariable, rules.c_str(), 1); }

}  // namespace testing
}  // namespace sim
