#include "sim/bridge/state.h"

#include <algorithm>

namespace sim {
namespace {

// N for a path DevicePathFor(N) makes, else -1.
long PathNumber(const std::string& path) {
  const std::string digits = path.size() > 3 ? path.substr(3) : "";
  if (path.compare(0, 3, "sim") != 0 || digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos ||
      (digits[0] == '0' && digits.size() > 1)) {
    return -1;
  }
  return std::stol(digits);
}

bool MoveUnit(std::vector<Device>& from, std::vector<Device>& to, const std::string& path) {
  auto unit =
      std::find_if(from.begin(), from.end(), [&](const Device& d) { return d.path == path; });
  if (unit == from.end()) return false;
  to.push_back(std::move(*unit));
  from.erase(unit);
  return true;
}

}  // namespace

State DefaultState() {
  State state;
  state.devices.push_back(DefaultDevice(0));
  state.nextPath = 1;
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

std::size_t PathNumberAfterUnits(const State& state) {
  long highest = -1;
  for (const auto* units : {&state.devices, &state.unplugged}) {
    for (const Device& d : *units) highest = std::max(highest, PathNumber(d.path));
  }
  return static_cast<std::size_t>(highest + 1);
}

Device& AddDevice(State& state, Series series) {
  // A hand-edited counter behind the units present must not hand out theirs.
  const std::size_t number = std::max(state.nextPath, PathNumberAfterUnits(state));
  state.devices.push_back(DefaultDevice(number, series));
  state.nextPath = number + 1;
  return state.devices.back();
}

bool UnplugDevice(State& state, const std::string& path) {
  return MoveUnit(state.devices, state.unplugged, path);
}

bool PlugBackDevice(State& state, const std::string& path) {
  return MoveUnit(state.unplugged, state.devices, path);
}

}  // namespace sim
