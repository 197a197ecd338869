// The simulated bridge's state parser on any text: a state it accepts is
// written and parsed again to the same state and the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/state_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::State first, second;
  std::string error;
  if (!sim::StateFromJson(std::string(reinterpret_cast<const char*>(data), size), &first,
                          &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string text = sim::StateToJson(first);
  if (!sim::StateFromJson(text, &second, &error)) std::abort();
  if (first.devices.size() != second.devices.size()) std::abort();
  for (size_t i = 0; i < first.devices.size(); ++i) {
    if (!(first.devices[i] == second.devices[i])) std::abort();
  }
  if (sim::StateToJson(second) != text) std::abort();
  return 0;
}
