#include "tests/fake/fake_library.h"

#include <cstring>
#include <tuple>

#include "callrecord/call_notation.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "sim/library/fault.h"

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

// What the fake leaves in an output of entry `name`, of whichever kind the
// output is. A text longer than the buffer fills it unterminated, as a
// library that knows the tool's buffer sizes would.
callrecord::CallValue Answer(const std::string& name) {
  callrecord::CallValue answer;
  const auto set = fake.texts.find(name);
  answer.text = set != fake.texts.end() ? set->second : DefaultText(name);
  answer.number = name.find("VID") != std::string::npos   ? fake.vid
                  : name.find("PID") != std::string::npos ? fake.pid
                  : name == "QZ_GetRunningCodeMode"       ? fake.runningMode
                  : name == "QZ_GetDeviceList"            ? fake.devices
                                                          : fake.standbyTimer;
  for (int i = 0; i < fake.devices && i < kMaxDevices; ++i) {
    answer.list.push_back("dev" + std::to_string(i));
  }
  return answer;
}

template <typename... A>
void Answer(const char* name, const std::tuple<A...>& args) {
  callrecord::WriteOutputs(args, std::vector<callrecord::CallValue>(sizeof...(A), Answer(name)),
                           name);
}

template <typename... A>
int32_t Invoke(const char* name, std::tuple<A...> args) {
  const auto fault = sim::FaultFor(faults, name, ++callCounts[name]);
  int32_t result = std::strcmp(name, "QZ_IsQZT7Series") == 0 ? 0 : 1;
  if (fault) {
    result = *fault;
  } else {
    Answer(name, args);
  }
  fake.calls.push_back(callrecord::CallText(name, args, false) + callrecord::ResultText(result));
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
#define FAKE_BIND(name, params, args) sdk::ApiTable.name = &Fake_##name;
  QZ_API_ENTRIES(FAKE_BIND)
#undef FAKE_BIND
  runtime::FreeDeviceList();
  runtime::AllocateDeviceList();
  Answer("QZ_GetDeviceList", std::make_tuple(&runtime::DeviceList[0], &runtime::deviceCount));
}

void UninstallFakeLibrary() {
  sdk::ApiTable = sdk::ApiEntryTable();
  runtime::FreeDeviceList();
  runtime::deviceCount = 0;
}
