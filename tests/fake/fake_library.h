// A recording fake of the firmware-update library, installed into ApiTable.
//
// Every call is recorded as text, e.g. QZ_SetVIDValue("dev0", "12AB"), with
// text arguments quoted, numbers in decimal and destinations as out. Results
// default to 1 (QZ_IsQZT7Series: isT7); destinations are filled from the
// values below unless the call was made to fail.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct FakeCall {
  std::string name;
  std::vector<std::string> args;
  std::vector<const void*> pointers;  // destination and text addresses, in order
  int32_t result = 0;
  std::string Text() const;  // QZ_Name(arg, arg)
};

struct FakeLibrary {
  // Behaviour.
  bool isT7 = false;
  std::map<std::string, int32_t> results;  // per-name result overrides
  int failAt = -1;                         // index of the call that returns 0 and writes nothing
  std::set<std::string> failNames;         // names that return 0 and write nothing
  std::function<int32_t(const FakeCall&, int32_t)> resultHook;  // last say on every result

  // What destinations receive.
  std::vector<std::string> devices = {"dev0"};
  int32_t runningMode = 2;
  uint16_t vid = 0x1A2B;
  uint16_t pid = 0x00C4;
  int32_t standbyTimer = 300;
  std::map<std::string, std::string> texts;  // by entry-point name

  std::vector<FakeCall> calls;

  std::vector<std::string> CallTexts() const;
  std::vector<std::string> Names() const;
};

// The fake in use; InstallFakeLibrary resets it.
FakeLibrary& Fake();

// Resets the fake, binds all 86 entry points to it, allocates the device list
// and fills it as start-up would (deviceCount = devices listed).
void InstallFakeLibrary();
// Sets deviceCount (after InstallFakeLibrary) without touching the paths.
void SetFakeDeviceCount(int32_t count);
void UninstallFakeLibrary();
