// The knobs of the simulated library, read strictly from the environment:
//   BRIDGESIM_FAULT      injected results (sim/library/fault.h)
//   BRIDGESIM_INTERRUPT  NAME: that programming entry point loses power halfway
//   BRIDGESIM_DELAY      NAME=MS[,NAME=MS...]: those entry points take MS longer
//   BRIDGESIM_PROGRAM_MS_PER_KIB  MS: programming takes MS for each KiB of payload
// A knob that names no entry point or cannot be parsed makes the library
// list no device, so a test cannot pass for the wrong reason.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/library/fault.h"

namespace sim {

constexpr long kMaxDelayMs = 600000;

struct Knobs {
  std::vector<FaultRule> faults;
  std::string interrupt;              // a programming entry point, or empty
  std::map<std::string, int> delays;  // milliseconds by entry point
  long programMsPerKib = 0;
};

bool IsProgrammingEntry(const std::string& name);

bool ParseInterrupt(const std::string& text, std::string* name, std::string* why);
bool ParseDelays(const std::string& text, std::map<std::string, int>* delays, std::string* why);
bool ParseProgramTime(const std::string& text, long* msPerKib, std::string* why);

// How long programming a payload of `bytes` takes at `msPerKib`, at most INT_MAX ms.
int ProgrammingMs(uint64_t bytes, long msPerKib);

// All of them from the environment; on a fault, `why` names the variable.
bool ReadKnobs(Knobs* knobs, std::string* why);

}  // namespace sim
