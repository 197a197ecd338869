#include "ui/command_line.h"

int32_t RunCommandLine(const char* const* argv) {
  (void)argv;
  return 0;
}
