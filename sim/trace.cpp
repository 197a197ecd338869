#include "sim/trace.h"

#include <cstdio>

#include "sim/device.h"
#include "sim/env.h"
#include "sim/platform_file.h"

namespace sim {

std::string BoundedText(const char* text, std::size_t capacity) {
  std::size_t n = 0;
  while (n < capacity && text[n] != '\0') ++n;
  return std::string(text, n);
}

std::string QuoteText(const char* text) {
  if (text == nullptr) return "null";
  std::string quoted = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p == '\\' || *p == '"') {
      quoted += '\\';
      quoted += static_cast<char>(*p);
    } else if (*p < 0x20 || *p > 0x7E) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(*p));
      quoted += escape;
    } else {
      quoted += static_cast<char>(*p);
    }
  }
  quoted += '"';
  return quoted;
}

std::string TraceArg(const char* text, bool) { return QuoteText(text); }

std::string TraceArg(char* text, bool received) {
  if (!received || text == nullptr) return "out";
  return "out=" + QuoteText(BoundedText(text, kTextBufferSize).c_str());
}

std::string TraceArg(uint16_t* id, bool received) {
  return received && id != nullptr ? "out=0x" + FormatHexId(*id) : "out";
}

std::string TraceArg(int32_t* value, bool received) {
  return received && value != nullptr ? "out=" + std::to_string(*value) : "out";
}

std::string TraceArg(int32_t value, bool) { return std::to_string(value); }

std::string TraceArgs(const std::tuple<char**, int32_t*>& args, bool received) {
  char** list = std::get<0>(args);
  int32_t* count = std::get<1>(args);
  if (!received || list == nullptr || count == nullptr) return "list, " + TraceArg(count, false);
  std::string text = "list=[";
  for (int32_t i = 0; i < *count && i < 16; ++i) {
    if (i > 0) text += ", ";
    text += list[i] == nullptr ? "null" : QuoteText(BoundedText(list[i], 256).c_str());
  }
  return text + "], " + TraceArg(count, true);
}

std::string TracePrefix() {
  return CurrentTimeText() + " " + std::to_string(CurrentProcessId()) + " ";
}

std::string TraceEnd(const CallOutcome& outcome) {
  std::string end = " = " + std::to_string(outcome.result);
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
    std::string path = EnvText(kTraceVariable);
    if (!path.empty()) AppendToFile(path, line);
  } catch (...) {
    // Tracing must never change what a call returns.
  }
}

}  // namespace sim
