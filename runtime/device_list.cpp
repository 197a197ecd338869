#include "runtime/device_list.h"

#include <new>

namespace runtime {

char* DeviceList[kMaxDevices] = {};
int32_t deviceCount = 0;

bool AllocateDeviceList() {
  for (char*& path : DeviceList) {
    path = new (std::nothrow) char[kDevicePathSize];
    if (path == nullptr) {
      FreeDeviceList();
      return false;
    }
    path[0] = '\0';
  }
  return true;
}

void FreeDeviceList() {
  for (char*& path : DeviceList) {
    delete[] path;
    path = nullptr;
  }
}

int ListedDeviceCount() {
  if (deviceCount <= 0) return 0;
  return deviceCount < kMaxDevices ? static_cast<int>(deviceCount) : kMaxDevices;
}

}  // namespace runtime
