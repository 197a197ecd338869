// The whole simulated world: the bridges attached, in listing order, the
// units unplugged and kept aside, and the number of the next path. A path is
// never handed out twice in one state, as a system's device instance paths
// are not, so a unit leaving never renames the others.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sim/bridge/device.h"

namespace sim {

struct State {
  State() = default;
  // Attached units, and maybe unplugged ones; a counter behind them counts
  // on from the highest simN (AddDevice).
  State(std::vector<Device> attached, std::vector<Device> aside = {}, std::size_t next = 0)
      : devices(std::move(attached)), unplugged(std::move(aside)), nextPath(next) {}

  std::vector<Device> devices;
  std::vector<Device> unplugged;  // each with everything it held when it left
  std::size_t nextPath = 0;       // N of the next simN a new unit gets
};

// One default bridge, as a fresh state file holds.
State DefaultState();

// The attached device with this path, or null.
Device* FindDevice(State& state, const char* path);
const Device* FindDevice(const State& state, const char* path);

// One past the highest simN among the attached and unplugged units (0 for none).
std::size_t PathNumberAfterUnits(const State& state);

// Appends a default device of the given series under a simN path no unit of
// the state had before.
Device& AddDevice(State& state, Series series);

// The attached unit at `path` leaves the list and is kept aside; false if none.
bool UnplugDevice(State& state, const std::string& path);

// The unplugged unit at `path` comes back, at the end of the list; false if none.
bool PlugBackDevice(State& state, const std::string& path);

}  // namespace sim
