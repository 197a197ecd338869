#include "tests/fake/fake_library.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "sim/fault.h"
#include "sim/trace.h"

namespace {

FakeLibrary fake;
std::vector<sim::FaultRule> faults;
std::map<std::string, int> callCounts;

std::string DefaultText(const std::string& name) {
  static const std::map<std::string, std::string> defaults = {
      {"QZ_GetSDKVersion", "SIM 1.0.0.0"},     {"QZ_GetFWVersion", "01.02.03.04"},
      {"QZ_GetManuStrfromFlash", "Maker"},     {"QZ_GetProdStrfromFlash", "Bridge"},
      {"QZ_GetSNfromFlash", "SN-FLASH"},       {"QZ_GetT7SNbySCSICmd", "SN-SCSI"},
      {"QZ_GetHDDStrfromFlash", "HDD STRING"},
  };
  const auto found = defaults.find(name);
  return found == defaults.end() ? std::string() : found->second;
}

// The library's side of each destination; inputs have no effect.
void Apply(const std::string&, const char*) {}
void Apply(const std::string&, int32_t) {}
void Apply(const std::string& name, char* text) {
  const auto set = fake.texts.find(name);
  const std::string value = set != fake.texts.end() ? set->second : DefaultText(name);
  // As a library that knows the tool's buffer sizes: a longer text fills the
  // buffer unterminated.
  const size_t capacity = name == "QZ_GetSDKVersion" ? 20 : 80;
  std::memcpy(text, value.c_str(), std::min(value.size() + 1, capacity));
}
void Apply(const std::string& name, uint16_t* id) {
  *id = name.find("VID") != std::string::npos ? fake.vid : fake.pid;
}
void Apply(const std::string& name, int32_t* value) {
  *value = name == "QZ_GetRunningCodeMode" ? fake.runningMode
           : name == "QZ_GetDeviceList"    ? fake.devices
                                           : fake.standbyTimer;
}
void Apply(const std::string&, char** paths) {
  for (int i = 0; i < fake.devices && i < kMaxDevices; ++i) {
    std::snprintf(paths[i], kDevicePathSize, "dev%d", i);
  }
}

template <typename... A>
int32_t Invoke(const char* name, std::tuple<A...> args) {
  const auto fault = sim::FaultFor(faults, name, ++callCounts[name]);
  int32_t result = std::strcmp(name, "QZ_IsQZT7Series") == 0 ? 0 : 1;
  if (fault) {
    result = *fault;
  } else {
    std::apply([name](auto... a) { (Apply(name, a), ...); }, args);
  }
  sim::CallOutcome outcome;
  outcome.result = result;
  std::string line = sim::TraceCall(name, args, false) + sim::TraceEnd(outcome);
  line.pop_back();
  fake.calls.push_back(line);
  return result;
}

#define FAKE_ENTRY(name, params, args) \
  int32_t QZ_CALL Fake_##name params { return Invoke(#name, std::make_tuple args); }
QZ_API_ENTRIES(FAKE_ENTRY)
#undef FAKE_ENTRY

}  // namespace

std::vector<std::string> FakeLibrary::Names() const {
  std::vector<std::string> names;
  for (const std::string& call : calls) names.push_back(call.substr(0, call.find('(')));
  return names;
}

FakeLibrary& Fake() { return fake; }

void InstallFakeLibrary(const std::string& faultRules) {
  fake = FakeLibrary();
  faults = sim::ParseFaultRules(faultRules);
  callCounts.clear();
#define FAKE_BIND(name, params, args) ApiTable.name = &Fake_##name;
  QZ_API_ENTRIES(FAKE_BIND)
#undef FAKE_BIND
  FreeDeviceList();
  AllocateDeviceList();
  Apply("QZ_GetDeviceList", DeviceList);
  Apply("QZ_GetDeviceList", &deviceCount);
}

void UninstallFakeLibrary() {
  ApiTable = ApiEntryTable();
  FreeDeviceList();
  deviceCount = 0;
}
