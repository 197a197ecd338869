#include "sim/library/trace.h"

#include "platform/files.h"
#include "platform/process.h"
#include "sim/bridge/decimal.h"
#include "sim/library/env.h"

namespace sim {

std::string TracePrefix() {
  return platform::CurrentTimeText() + " " + std::to_string(platform::CurrentProcessId()) + " ";
}

std::string TraceEnd(const CallOutcome& outcome) {
  std::string end = callrecord::ResultText(outcome.result);
  if (outcome.injected) end += " (injected)";
  if (outcome.delayMs >= 0) end += " (delayed " + std::to_string(outcome.delayMs) + " ms)";
  if (!outcome.why.empty()) {
    std::string why = outcome.why;
    for (char& c : why) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    end += " # " + why;
  }
  return end + "\n";
}

void AppendTrace(const std::string& line) noexcept {
  try {
    const std::string path = KnobText(kTraceVariable);
    if (!path.empty()) platform::AppendToFile(path, line);
  } catch (...) {
    // Tracing must never change what a call returns.
  }
}

}  // namespace sim
