// The devices the library lists, and the one every operation acts on.
#pragma once

#include <cstdint>

#include "sdk/api_sizes.h"

extern char* DeviceList[kMaxDevices];
extern int32_t deviceCount;
extern char* currentDevice;  // the first DeviceList buffer

// Allocates the 16 path buffers, each holding the empty text. False when
// memory runs out (whatever was allocated is freed again).
bool AllocateDeviceList();
void FreeDeviceList();
