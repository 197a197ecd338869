#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/process.h"

namespace platform {

void SleepMilliseconds(int milliseconds) {
  struct timespec left = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

}  // namespace platform
