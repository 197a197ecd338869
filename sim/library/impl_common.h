// Helpers shared by the entry-point implementations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "sim/bridge/device.h"
#include "sim/bridge/state.h"

namespace sim {

// True for a path the process's last QZ_GetDeviceList listed; otherwise
// notes why not for the trace.
bool Listed(const char* path);

// Runs `read` on the device at `path` in the current state. 0 when the path was
// not listed, the state cannot be loaded or lists no such device.
int32_t ReadDevice(const char* path, const std::function<int32_t(const Device&)>& read);

// Changes the device at `path` under the state lock and writes the state
// back. 0 when the device is missing, `change` refuses, or the write fails.
int32_t ChangeDevice(const char* path, const std::function<bool(Device&)>& change);

// Copies text into a caller's buffer of `capacity` bytes, always terminated,
// never past the end. False for a null buffer.
bool CopyOut(char* out, const std::string& text, std::size_t capacity = kLibraryTextSize);

// 1 for an attached device of any series (calls that need nothing but the device).
int32_t DeviceExists(const char* path);

}  // namespace sim
