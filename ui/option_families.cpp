#include "ui/option_families.h"

#include "app/console.h"

bool HasValueElements(const char* const* argv, int count) {
  // The vector is null-terminated: walk it from the start and stop at the
  // first null, so a short vector is never read past its end.
  for (int index = 0; index <= 1 + count; ++index) {
    if (argv == nullptr || argv[index] == nullptr) {
      ConsolePrint("%s", kPleaseInputParameter);
      return false;
    }
  }
  return true;
}
