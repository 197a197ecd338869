#include "sim/bridge/state.h"

#include <cstring>

namespace sim {

State DefaultState() {
  State state;
  state.devices.push_back(DefaultDevice(0));
  return state;
}

const Device* FindDevice(const State& state, const char* path) {
  if (path == nullptr) return nullptr;
  for (const Device& d : state.devices) {
    if (d.path == path) return &d;
  }
  return nullptr;
}

Device* FindDevice(State& state, const char* path) {
  return const_cast<Device*>(FindDevice(static_cast<const State&>(state), path));
}

Device& AddDevice(State& state, Series series) {
  std::size_t index = 0;
  while (FindDevice(state, DevicePathFor(index).c_str()) != nullptr) ++index;
  state.devices.push_back(DefaultDevice(index, series));
  return state.devices.back();
}

}  // namespace sim
