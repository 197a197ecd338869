// The device paths the library lists. The program entry owns them for the
// whole run and hands one to the front end it starts.
#pragma once

#include <cstdint>

#include "sdk/api_sizes.h"

namespace runtime {

extern char* DeviceList[kMaxDevices];
extern int32_t deviceCount;

// Allocates all kMaxDevices path buffers, each holding the empty text. False when
// memory runs out (whatever was allocated is freed again).
bool AllocateDeviceList();
void FreeDeviceList();

// How many DeviceList entries hold a listed path: deviceCount, but never
// below 0 or past the kMaxDevices buffers, whatever the library reported.
int ListedDeviceCount();

}  // namespace runtime
