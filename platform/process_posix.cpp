#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/process.h"

namespace platform {

void SleepMilliseconds(int milliseconds) {
  struct timespec left = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

void KeepRunningWithoutReader() { ::signal(SIGPIPE, SIG_IGN); }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

std::string ProcessCommandLine(std::size_t limit, bool* cut) {
  std::string text;
  *cut = false;
  std::FILE* file = std::fopen("/proc/self/cmdline", "rb");
  if (file == nullptr) return text;
  // Two bytes more than wanted: the NUL that ends the last argument, and one
  // that tells a longer command line.
  text.resize(limit + 2);
  text.resize(std::fread(&text[0], 1, text.size(), file));
  std::fclose(file);
  if (text.size() <= limit + 1 && !text.empty() && text.back() == '\0') text.pop_back();
  *cut = text.size() > limit;
  text.resize(std::min(text.size(), limit));
  return text;
}

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

std::string EnvironmentText(const char* name, bool* present) {
  const char* value = std::getenv(name);
  if (present != nullptr) *present = (value != nullptr);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace platform
