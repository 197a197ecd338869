#include <signal.h>
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

void KeepRunningWithoutReader() { ::signal(SIGPIPE, SIG_IGN); }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

}  // namespace platform
