#include "line/device_choice.h"

#include <cstdlib>
#include <cstring>

#include "line/exit_status.h"
#include "runtime/console.h"
#include "runtime/device_list.h"

namespace line {

using runtime::ConsolePrint;
using runtime::ListedDeviceCount;

namespace {

// Index into DeviceList of a number from 1 or a listed path; -1 when neither.
int FindDevice(const char* value) {
  char* end = nullptr;
  const long number = std::strtol(value, &end, 10);
  if (value[0] >= '0' && value[0] <= '9' && *end == '\0' && number >= 1 &&
      number <= ListedDeviceCount()) {
    return static_cast<int>(number - 1);
  }
  for (int i = 0; i < ListedDeviceCount(); ++i) {
    if (std::strcmp(runtime::DeviceList[i], value) == 0) return i;
  }
  return -1;
}

}  // namespace

void PrintListingLimit() {
  if (ListedDeviceCount() < kMaxDevices) return;
  ConsolePrint("At most %d units are seen at once: more may be attached\n", kMaxDevices);
}

int ChooseUnit(const LineRequest& request, int* status) {
  if (request.device != nullptr) {
    const int index = FindDevice(request.device);
    if (index < 0) {
      ConsolePrint("Device %s is not listed\n", request.device);
      *status = kLineNoDevice;
    }
    return index;
  }
  if (ListedDeviceCount() == 1) return 0;
  ConsolePrint("%d devices are listed: choose one with --device N|PATH%s (see --help)\n",
               ListedDeviceCount(), request.action == LineAction::kApply ? ", or --all" : "");
  *status = kLineUsageError;
  return -1;
}

}  // namespace line
