#include "sim/library/knobs.h"

#include <climits>

#include "callrecord/entry_names.h"
#include "sim/bridge/decimal.h"
#include "sim/library/env.h"

namespace sim {
namespace {

const char* const kProgrammingEntries[] = {"QZ_FWUpdateProgramming",
                                           "QZ_FWUpdateProgrammingNoCustomizedSetting",
                                           "QZ_FWUpdateProgrammingEX"};

bool Named(const char* variable, bool ok, std::string* why) {
  if (!ok) *why = std::string(variable) + ": " + *why;
  return ok;
}

}  // namespace

bool IsProgrammingEntry(const std::string& name) {
  for (const char* entry : kProgrammingEntries) {
    if (name == entry) return true;
  }
  return false;
}

bool ParseInterrupt(const std::string& text, std::string* name, std::string* why) {
  if (!text.empty() && !IsProgrammingEntry(text)) {
    *why = "'" + text +
           "' is no programming entry point (QZ_FWUpdateProgramming, "
           "QZ_FWUpdateProgrammingNoCustomizedSetting or QZ_FWUpdateProgrammingEX)";
    return false;
  }
  *name = text;
  return true;
}

bool ParseDelays(const std::string& text, std::map<std::string, int>* delays, std::string* why) {
  std::map<std::string, int> parsed;
  for (const std::string& item : SplitKnobList(text)) {
    const std::size_t equals = item.find('=');
    const std::string name = item.substr(0, equals);
    long ms = 0;
    if (!callrecord::IsEntryName(name)) {
      *why = "'" + name + "' is no entry point of the library";
      return false;
    }
    if (equals == std::string::npos ||
        !ParseDecimal(item.substr(equals + 1), 0, kMaxDelayMs, &ms)) {
      *why = "'" + item + "' needs =MS, milliseconds from 0 to " + std::to_string(kMaxDelayMs);
      return false;
    }
    parsed[name] = static_cast<int>(ms);
  }
  *delays = std::move(parsed);
  return true;
}

bool ParseProgramTime(const std::string& text, long* msPerKib, std::string* why) {
  if (text.empty()) {
    *msPerKib = 0;
  } else if (!ParseDecimal(text, 0, kMaxDelayMs, msPerKib)) {
    *why = "'" + text + "' is not milliseconds from 0 to " + std::to_string(kMaxDelayMs);
    return false;
  }
  return true;
}

int ProgrammingMs(uint64_t bytes, long msPerKib) {
  if (msPerKib <= 0) return 0;
  const uint64_t perKib = static_cast<uint64_t>(msPerKib);
  if (bytes > uint64_t{INT_MAX} * 1024 / perKib) return INT_MAX;
  return static_cast<int>(bytes * perKib / 1024);
}

bool ReadKnobs(Knobs* knobs, std::string* why) {
  return Named(kFaultVariable, ParseFaultRulesStrict(KnobText(kFaultVariable), &knobs->faults, why),
               why) &&
         Named(kInterruptVariable,
               ParseInterrupt(KnobText(kInterruptVariable), &knobs->interrupt, why), why) &&
         Named(kDelayVariable, ParseDelays(KnobText(kDelayVariable), &knobs->delays, why), why) &&
         Named(kProgramTimeVariable,
               ParseProgramTime(KnobText(kProgramTimeVariable), &knobs->programMsPerKib, why), why);
}

}  // namespace sim
