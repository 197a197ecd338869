// The simulated bridge's state parser on any text: a state it accepts is
// written and parsed again to the same state and the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/bridge/state_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::State first, second;
  std::string error;
  if (!sim::StateFromJson(std::string(reinterpret_cast<const char*>(data), size), &first, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string text = sim::StateToJson(first);
  if (!sim::StateFromJson(text, &second, &error)) std::abort();
  bool same = first.devices.size() == second.devices.size() && sim::StateToJson(second) == text;
  for (size_t i = 0; same && i < first.devices.size(); ++i)
    same = first.devices[i] == second.devices[i];
  if (!same) std::abort();
  return 0;
}
