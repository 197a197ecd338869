// command_line_fuzzer and menu_fuzzer over the recording fake; the input
// format is described in docs/testing.md.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/console.h"
#include "runtime/device_list.h"
#include "tests/fake/fake_library.h"
#include "ui/command_line.h"
#include "ui/menu.h"

using runtime::ConsoleSetStreams;

namespace {

FILE* sink = nullptr;
const char* device = nullptr;  // null: the operations' guard is explored

void InstallScripted(const std::string& script) {
  std::istringstream in(script);
  std::string kind, faults, text, number;
  std::getline(std::getline(std::getline(std::getline(in, kind), faults), text), number);
  InstallFakeLibrary((kind.rfind('7', 0) == 0 ? "QZ_IsQZT7Series=1," : "") + faults);
  // The front ends never run without a device; the operations' guard is
  // explored all the same.
  device = kind.rfind('0', 0) == 0 ? nullptr : runtime::DeviceList[0];
  FakeLibrary& fake = Fake();
  for (const char* name :
       {"QZ_GetSDKVersion", "QZ_GetFWVersion", "QZ_GetManuStrfromFlash", "QZ_GetProdStrfromFlash",
        "QZ_GetSNfromFlash", "QZ_GetT7SNbySCSICmd", "QZ_GetHDDStrfromFlash"}) {
    if (!text.empty()) fake.texts[name] = text;
  }
  if (!number.empty()) {
    const long long value = std::strtoll(number.c_str(), nullptr, 0);
    fake.vid = fake.pid = static_cast<uint16_t>(value);
    fake.runningMode = fake.standbyTimer = static_cast<int32_t>(static_cast<uint32_t>(value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* tmp = std::getenv("TMPDIR");
  std::string scratch =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/bridgefw-fuzz-XXXXXX";
  if (mkdtemp(&scratch[0]) == nullptr || chdir(scratch.c_str()) != 0) std::abort();
  std::fclose(std::fopen("fw.bin", "w"));
  sink = std::getenv("BRIDGEFW_FUZZ_SHOW") != nullptr ? stdout : std::fopen("/dev/null", "w");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string frontEnd(reinterpret_cast<const char*>(data), size), script;
  const size_t marker = frontEnd.find("\n%%\n");
  if (marker != std::string::npos) {
    script = frontEnd.substr(marker + 4);
    frontEnd.resize(marker);
  }
  // A '/' would reach files outside the scratch folder; the tool gives it no meaning.
  std::replace(frontEnd.begin(), frontEnd.end(), '/', '_');
  InstallScripted(script);
#ifdef BRIDGEFW_FUZZ_MENU
  FILE* typed = std::fopen("typed", "w+");
  std::fwrite(frontEnd.data(), 1, frontEnd.size(), typed);
  std::rewind(typed);
  ConsoleSetStreams(typed, sink);
  ui::RunMenu(device);
  std::fclose(typed);
#else
  // Each element in its own allocation, so a read past one's end is caught.
  std::vector<std::vector<char> > storage;
  std::istringstream lines(frontEnd);
  for (std::string line; storage.size() < 32 && std::getline(lines, line);) {
    storage.emplace_back(line.c_str(), line.c_str() + line.size() + 1);
  }
  if (storage.empty()) storage.push_back({'\0'});
  std::vector<const char*> argv = {"bridgefw"};
  for (const std::vector<char>& element : storage) argv.push_back(element.data());
  argv.push_back(nullptr);
  ConsoleSetStreams(stdin, sink);
  ui::RunCommandLine(device, argv.data());
#endif
  ConsoleSetStreams(nullptr, nullptr);
  std::fflush(sink);
  int commits = 0;
  for (const std::string& call : Fake().calls) {
    if (sink == stdout) std::printf("%s\n", call.c_str());
    commits += call.rfind("QZ_UpdateCustomizedSetting(", 0) == 0 ||
               call.rfind("QZ_FWUpdateProgramming", 0) == 0 ||
               call.rfind("QZ_UpdateT7StandbyTimer(", 0) == 0;
  }
  // One run changes the device at most once.
  if (commits > 1) std::abort();
  UninstallFakeLibrary();
  Fake() = FakeLibrary();
  return 0;
}
