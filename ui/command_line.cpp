#include "ui/command_line.h"

#include <cctype>
#include <cstring>

#include "ops/operations.h"
#include "ui/help_page.h"
#include "ui/option_families.h"
#include "ui/value_lines.h"

namespace {

using OptionHandler = int32_t (*)(char option, const char* const* argv, char* resultText);

int32_t RunHelpOption(char, const char* const*, char*) { return PrintHelpPage(); }

int32_t RunVersionOption(char, const char* const*, char* resultText) {
  const int32_t result = OpGetFWVersion(resultText);
  if (result != 0) PrintFWVersion(resultText);
  return result;
}

// One row per family letter. letters: the accepted second letters (null: any
// text follows); needsD: the third letter must be 'd'.
struct OptionFamily {
  char family;
  const char* letters;
  bool needsD;
  OptionHandler handler;
};

constexpr OptionFamily kOptionFamilies[] = {
    {'h', nullptr, false, RunHelpOption},     {'f', "v", false, RunVersionOption},
    {'u', "bne", false, RunUpdateOption},     {'g', "evpsmitn", true, RunReaderOption},
    {'s', "vpsmitn", false, RunWriterOption},
};

static_assert(kVersionTextSize == kSettingTextSize, "resultText serves both kinds of reads");

}  // namespace

int32_t RunCommandLine(const char* const* argv) {
  char resultText[kVersionTextSize] = {};
  if (argv == nullptr || argv[0] == nullptr || argv[1] == nullptr) return 0;
  const char* option = argv[1];
  if (option[0] != '-') return 0;
  // Positions 1 to 3, lowered; those past the end of the text count as NUL.
  char letters[3] = {};
  for (int i = 0; i < 3 && option[i + 1] != '\0'; ++i) {
    letters[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(option[i + 1])));
  }
  for (const OptionFamily& row : kOptionFamilies) {
    if (row.family != letters[0]) continue;
    if (row.letters != nullptr &&
        (letters[1] == '\0' || std::strchr(row.letters, letters[1]) == nullptr)) {
      return 0;
    }
    if (row.needsD && letters[2] != 'd') return 0;
    return row.handler(letters[1], argv, resultText);
  }
  return 0;
}
