// The devices the library lists.
#pragma once

#include <cstdint>

#include "sdk/api_sizes.h"

extern char* DeviceList[kMaxDevices];
extern int32_t deviceCount;

// Allocates the 16 path buffers, each holding the empty text. False when
// memory runs out (whatever was allocated is freed again).
bool AllocateDeviceList();
void FreeDeviceList();
