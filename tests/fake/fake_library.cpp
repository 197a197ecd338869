#include "tests/fake/fake_library.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

#include "app/device_list.h"
#include "sdk/api_table.h"

namespace {

FakeLibrary fake;

std::string Quote(const char* text) {
  if (text == nullptr) return "null";
  std::string quoted = "\"";
  for (const char* p = text; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      quoted += escaped;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

void Describe(FakeCall& call, const char* text) {
  call.args.push_back(Quote(text));
  call.pointers.push_back(text);
}
void Describe(FakeCall& call, int32_t value) { call.args.push_back(std::to_string(value)); }
template <typename T>
void Describe(FakeCall& call, T* destination) {
  call.args.push_back(std::is_same<T, char*>::value ? "list" : "out");
  call.pointers.push_back(destination);
}

std::string DefaultText(const std::string& name) {
  static const std::map<std::string, std::string> defaults = {
      {"QZ_GetSDKVersion", "FAKE 2.0"},        {"QZ_GetFWVersion", "01.02.03.04"},
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
  const auto configured = fake.texts.find(name);
  const std::string value = configured != fake.texts.end() ? configured->second : DefaultText(name);
  // Writes like a library that knows the tool's buffer sizes, terminator
  // included when it fits: a longer text fills the buffer unterminated.
  const size_t capacity = name == "QZ_GetSDKVersion" ? 20 : 80;
  std::memcpy(text, value.c_str(), std::min(value.size() + 1, capacity));
}
void Apply(const std::string& name, uint16_t* id) {
  *id = name.find("VID") != std::string::npos ? fake.vid : fake.pid;
}
void Apply(const std::string& name, int32_t* value) {
  if (name == "QZ_GetRunningCodeMode") {
    *value = fake.runningMode;
  } else if (name == "QZ_GetDeviceList") {
    *value = static_cast<int32_t>(fake.devices.size());
  } else {
    *value = fake.standbyTimer;
  }
}
void Apply(const std::string&, char** paths) {
  for (size_t i = 0; i < fake.devices.size() && i < static_cast<size_t>(kMaxDevices); ++i) {
    std::snprintf(paths[i], kDevicePathSize, "%s", fake.devices[i].c_str());
  }
}

int32_t DefaultResult(const std::string& name) {
  const auto found = fake.results.find(name);
  if (found != fake.results.end()) return found->second;
  if (name == "QZ_IsQZT7Series") return fake.isT7 ? 1 : 0;
  return 1;
}

template <typename... A>
int32_t Invoke(const char* name, std::tuple<A...> arguments) {
  FakeCall call;
  call.name = name;
  std::apply([&call](auto... a) { (Describe(call, a), ...); }, arguments);
  const int index = static_cast<int>(fake.calls.size());
  const bool failed = index == fake.failAt || fake.failNames.count(call.name) != 0;
  int32_t result = failed ? 0 : DefaultResult(call.name);
  if (fake.resultHook) result = fake.resultHook(call, result);
  if (!failed) std::apply([&call](auto... a) { (Apply(call.name, a), ...); }, arguments);
  call.result = result;
  fake.calls.push_back(std::move(call));
  return result;
}

#define FAKE_ENTRY(name, params, args) \
  int32_t QZ_CALL Fake_##name params { return Invoke(#name, std::make_tuple args); }
QZ_API_ENTRIES(FAKE_ENTRY)
#undef FAKE_ENTRY

}  // namespace

std::string FakeCall::Text() const {
  std::string text = name + "(";
  for (size_t i = 0; i < args.size(); ++i) text += (i == 0 ? "" : ", ") + args[i];
  return text + ")";
}

std::vector<std::string> FakeLibrary::CallTexts() const {
  std::vector<std::string> texts;
  for (const FakeCall& call : calls) texts.push_back(call.Text());
  return texts;
}

std::vector<std::string> FakeLibrary::Names() const {
  std::vector<std::string> names;
  for (const FakeCall& call : calls) names.push_back(call.name);
  return names;
}

FakeLibrary& Fake() { return fake; }

void InstallFakeLibrary() {
  fake = FakeLibrary();
#define FAKE_BIND(name, params, args) ApiTable.name = &Fake_##name;
  QZ_API_ENTRIES(FAKE_BIND)
#undef FAKE_BIND
  FreeDeviceList();
  AllocateDeviceList();
  deviceCount = 0;
  Apply("QZ_GetDeviceList", DeviceList);
  Apply("QZ_GetDeviceList", &deviceCount);
}

void SetFakeDeviceCount(int32_t count) { deviceCount = count; }

void UninstallFakeLibrary() {
  ApiTable = ApiEntryTable();
  FreeDeviceList();
  deviceCount = 0;
}
