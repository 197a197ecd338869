#include "sim/impl_common.h"

#include <cstring>

#include "sim/state_store.h"

namespace sim {

int32_t ReadDevice(const char* path, const std::function<int32_t(const Device&)>& read) {
  if (path == nullptr) return 0;
  State state;
  std::string error;
  if (!StateStore::FromEnvironment().Load(&state, &error)) return 0;
  const Device* device = FindDevice(state, path);
  return device == nullptr ? 0 : read(*device);
}

int32_t ChangeDevice(const char* path, const std::function<bool(Device&)>& change) {
  if (path == nullptr) return 0;
  std::string error;
  bool ok = StateStore::FromEnvironment().Update(
      [&](State& state) {
        Device* device = FindDevice(state, path);
        return device != nullptr && change(*device);
      },
      &error);
  return ok ? 1 : 0;
}

bool CopyOut(char* out, const std::string& text, std::size_t capacity) {
  if (out == nullptr || capacity == 0) return false;
  std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return true;
}

int32_t DeviceExists(const char* path) {
  return ReadDevice(path, [](const Device&) { return 1; });
}

}  // namespace sim
