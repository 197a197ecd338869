#include "sim/library/impl_common.h"

#include <cstring>

#include "callrecord/call_notation.h"
#include "sim/bridge/state_store.h"
#include "sim/library/session.h"

namespace sim {

bool Listed(const char* path) {
  const Session& session = CurrentSession();
  if (path == nullptr) return FailWithReason("no device path");
  if (!session.listed) return FailWithReason("no QZ_GetDeviceList before this call");
  for (const std::string& listed : session.listedPaths) {
    if (listed == path) return true;
  }
  return FailWithReason("device " + callrecord::QuoteText(path) + " was not listed");
}

int32_t ReadDevice(const char* path, const std::function<int32_t(const Device&)>& read) {
  if (!Listed(path)) return 0;
  State state;
  std::string error;
  if (!StateStore::FromEnvironment().Load(&state, &error)) return FailWithReason(error);
  const Device* device = FindDevice(state, path);
  if (device == nullptr)
    return FailWithReason("device " + callrecord::QuoteText(path) + " is no longer attached");
  return read(*device);
}

int32_t ChangeDevice(const char* path, const std::function<bool(Device&)>& change) {
  if (!Listed(path)) return 0;
  std::string error;
  bool attached = true;
  bool ok = StateStore::FromEnvironment().Update(
      [&](State& state) {
        Device* device = FindDevice(state, path);
        attached = device != nullptr;
        return attached && change(*device);
      },
      &error);
  if (!attached)
    return FailWithReason("device " + callrecord::QuoteText(path) + " is no longer attached");
  if (!error.empty()) FailWithReason(error);
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
