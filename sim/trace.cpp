#include "sim/trace.h"

#include <cstdio>

#include "sim/env.h"
#include "sim/platform_file.h"

namespace sim {

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

void AppendTrace(const std::string& line) noexcept {
  try {
    std::string path = EnvText(kTraceVariable);
    if (!path.empty()) AppendToFile(path, line);
  } catch (...) {
    // Tracing must never change what a call returns.
  }
}

}  // namespace sim
