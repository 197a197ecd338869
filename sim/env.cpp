#include "sim/env.h"

#include <cstdlib>

namespace sim {

std::string EnvText(const char* name, bool* present) {
  const char* value = std::getenv(name);
  if (present != nullptr) *present = (value != nullptr);
  return value == nullptr ? std::string() : std::string(value);
}

std::string StatePath() {
  std::string path = EnvText(kStateVariable);
  if (!path.empty()) return path;
#if defined(_WIN32)
  std::string base = EnvText("LOCALAPPDATA");
  if (base.empty()) base = EnvText("APPDATA");
  if (base.empty()) base = ".";
  return base + "\\bridgesim\\state.json";
#else
  std::string base = EnvText("XDG_STATE_HOME");
  if (base.empty()) {
    std::string home = EnvText("HOME");
    base = (home.empty() ? std::string(".") : home) + "/.local/state";
  }
  return base + "/bridgesim/state.json";
#endif
}

}  // namespace sim
