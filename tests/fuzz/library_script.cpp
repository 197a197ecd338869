#include "tests/fuzz/library_script.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/device_list.h"
#include "tests/fake/fake_library.h"

namespace {

constexpr const char* kMarker = "\n%%\n";

struct Answer {
  char action = '.';
  bool hasValue = false;
  std::string value;
};

struct Script {
  std::vector<Answer> answers;
  size_t next = 0;  // the answer for the call about to be made
};

Script script;

Answer ParseAnswer(const std::string& line) {
  Answer answer;
  if (line.empty()) return answer;
  answer.action = line[0];
  answer.hasValue = line.size() > 1;
  answer.value = line.substr(1);
  return answer;
}

const Answer& Current() {
  static const Answer kDefault;
  return script.next < script.answers.size() ? script.answers[script.next] : kDefault;
}

bool WritesNothing(const Answer& answer) { return answer.action == '0' || answer.action == 'w'; }

// The fake decides "fail and write nothing" before its hook runs, so the
// answer for the coming call (index callIndex) is armed through failAt.
void ArmFor(int callIndex) { Fake().failAt = WritesNothing(Current()) ? callIndex : -1; }

void SetDestinations(const FakeCall& call, const Answer& answer) {
  if (!answer.hasValue) return;
  FakeLibrary& fake = Fake();
  fake.texts[call.name] = answer.value;
  char* end = nullptr;
  const long long number = std::strtoll(answer.value.c_str(), &end, 0);
  if (end == answer.value.c_str()) return;
  fake.vid = fake.pid = static_cast<uint16_t>(number);
  fake.runningMode = fake.standbyTimer = static_cast<int32_t>(static_cast<uint32_t>(number));
}

int32_t ResultOf(const Answer& answer, int32_t fakeResult) {
  switch (answer.action) {
    case '0':
    case 'f':
      return 0;
    case 'w':
      return 1;
    case '-':
      return -1;
    case 'M':
      return INT32_MIN;
    case 'X':
      return INT32_MAX;
    default:
      if (answer.action >= '1' && answer.action <= '9') return answer.action - '0';
      return fakeResult;
  }
}

int32_t AnswerCall(const FakeCall& call, int32_t fakeResult) {
  const Answer& answer = Current();
  SetDestinations(call, answer);
  const int32_t result = ResultOf(answer, fakeResult);
  ++script.next;
  // The call being answered is recorded after this hook returns.
  ArmFor(static_cast<int>(Fake().calls.size()) + 1);
  return result;
}

std::string scratchDirectory;

// Only after a normal end: a run stopped by a finding leaves it for a look.
void RemoveScratchDirectory() {
  std::remove((scratchDirectory + "/fw.bin").c_str());
  std::remove(scratchDirectory.c_str());
}

}  // namespace

FuzzInput SplitFuzzInput(const uint8_t* data, size_t size) {
  const std::string whole(reinterpret_cast<const char*>(data), size);
  const size_t marker = whole.find(kMarker);
  if (marker == std::string::npos) return {whole, std::string()};
  return {whole.substr(0, marker), whole.substr(marker + std::strlen(kMarker))};
}

void InstallScriptedLibrary(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }

  InstallFakeLibrary();
  script = Script();
  if (!lines.empty()) {
    const std::string& device = lines[0];
    Fake().isT7 = !device.empty() && device[0] == '7';
    // The front ends never run without a device; the operations' own guard is
    // explored all the same.
    if (!device.empty() && device[0] == '0') SetFakeDeviceCount(0);
    if (device.size() > 1) {
      std::snprintf(DeviceList[0], kDevicePathSize, "%s", device.c_str() + 1);
    }
    for (size_t i = 1; i < lines.size(); ++i) script.answers.push_back(ParseAnswer(lines[i]));
  }
  Fake().resultHook = AnswerCall;
  ArmFor(0);
}

void UninstallScriptedLibrary() {
  UninstallFakeLibrary();
  // Nothing of one run is left allocated: libFuzzer reruns any input after
  // which more was allocated than freed, to look for a leak.
  Fake() = FakeLibrary();
  script = Script();
}

FILE* PrepareFuzzProcess() {
  const char* tmp = std::getenv("TMPDIR");
  scratchDirectory =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/bridgefw-fuzz-XXXXXX";
  if (mkdtemp(&scratchDirectory[0]) == nullptr || chdir(scratchDirectory.c_str()) != 0) {
    std::abort();
  }
  std::atexit(RemoveScratchDirectory);
  FILE* image = std::fopen("fw.bin", "w");
  if (image == nullptr) std::abort();
  std::fputs("image", image);
  std::fclose(image);
  if (std::getenv("BRIDGEFW_FUZZ_SHOW") != nullptr) return stdout;
  FILE* sink = std::fopen("/dev/null", "w");
  if (sink == nullptr) std::abort();
  return sink;
}

void KeepInScratchDirectory(std::string& text) { std::replace(text.begin(), text.end(), '/', '_'); }

void ShowCalls() {
  if (std::getenv("BRIDGEFW_FUZZ_SHOW") == nullptr) return;
  for (const FakeCall& call : Fake().calls) {
    std::printf("  %s = %d\n", call.Text().c_str(), static_cast<int>(call.result));
  }
}

bool AtMostOneCommit() {
  static const char* const kCommits[] = {"QZ_UpdateCustomizedSetting", "QZ_UpdateT7StandbyTimer",
                                         "QZ_FWUpdateProgramming", "QZ_FWUpdateProgrammingEX",
                                         "QZ_FWUpdateProgrammingNoCustomizedSetting"};
  int commits = 0;
  for (const FakeCall& call : Fake().calls) {
    for (const char* name : kCommits) commits += call.name == name ? 1 : 0;
  }
  return commits <= 1;
}
