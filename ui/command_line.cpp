#include "ui/command_line.h"

#include <cctype>

#include "ops/operations.h"
#include "runtime/console.h"
#include "ui/option_table.h"

namespace ui {

namespace {

// The row whose letters stand at positions 1 to 3 of the argument, lowered
// (a position past the end counts as NUL); later characters are never looked at.
const CommandLineOption* FindOption(const char* argument) {
  if (argument[0] != '-') return nullptr;
  char lowered[3] = {};
  for (int i = 0; i < 3 && argument[i + 1] != '\0'; ++i) {
    lowered[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(argument[i + 1])));
  }
  return FindOptionRow(kCommandLineOptions, kCommandLineOptionCount, [&](const char* letters) {
    int i = 0;
    while (i < 3 && letters[i] != '\0' && letters[i] == lowered[i]) ++i;
    return i == 3 || letters[i] == '\0';
  });
}

// Elements 2 to 1 + count must exist (element 1 does). The vector is
// null-terminated: stopping at its first null never reads past its end.
bool HasValueElements(const char* const* argv, int count) {
  for (int index = 2; index <= 1 + count; ++index) {
    if (argv[index] == nullptr) {
      runtime::ConsolePrint("%s", kPleaseInputParameter);
      return false;
    }
  }
  return true;
}

}  // namespace

int32_t RunCommandLine(const char* device, const char* const* argv) {
  char resultText[kLibraryTextSize] = {};
  if (argv == nullptr || argv[0] == nullptr || argv[1] == nullptr) return 0;
  const CommandLineOption* option = FindOption(argv[1]);
  if (option == nullptr || !HasValueElements(argv, option->values)) return 0;
  return option->action(device, argv, resultText);
}

}  // namespace ui
