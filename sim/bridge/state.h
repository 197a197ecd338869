// The whole simulated world: the bridges attached, in listing order.
#pragma once

#include <string>
#include <vector>

#include "sim/bridge/device.h"

namespace sim {

struct State {
  std::vector<Device> devices;
};

// One default bridge, as a fresh state file holds.
State DefaultState();

// The attached device with this path, or null.
Device* FindDevice(State& state, const char* path);
const Device* FindDevice(const State& state, const char* path);

// Appends a default device of the given series under the lowest free simN path.
Device& AddDevice(State& state, Series series);

}  // namespace sim
