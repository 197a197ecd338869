// A recording fake of the firmware-update library, installed into ApiTable.
// Calls are recorded in the call notation (callrecord/call_notation.h), e.g.
// QZ_SetVIDValue("dev0", "12AB") = 1, and faults take BRIDGESIM_FAULT's syntax
// (sim/library/fault.h): "QZ_SetVIDValue@1" fails the first such call, without effect.
// Other calls return 1; QZ_IsQZT7Series 0 ("QZ_IsQZT7Series=1": a QZT7 bridge).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct FakeLibrary {
  int32_t devices = 1;  // listed as dev0, dev1, ...; then what the reads write:
  int32_t runningMode = 2;
  uint16_t vid = 0x1A2B;
  uint16_t pid = 0x00C4;
  int32_t standbyTimer = 300;
  std::map<std::string, std::string> texts;  // by entry-point name, over the defaults

  std::vector<std::string> calls;  // trace lines without their line feed
  std::vector<std::string> Names() const;
};

FakeLibrary& Fake();

// Resets the fake with the faults, binds it into ApiTable, lists its devices.
void InstallFakeLibrary(const std::string& faults = "");
void UninstallFakeLibrary();
