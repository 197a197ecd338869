// The command line's firmware updates: -ub, -un and -ue with its option list.
#include <sys/stat.h>

#include <cctype>
#include <cstddef>
#include <cstdio>

#include "ops/customized_setting.h"
#include "ops/operations.h"
#include "ops/setting_table.h"
#include "runtime/console.h"
#include "ui/bounded_text.h"
#include "ui/decimal_number.h"
#include "ui/option_table.h"

namespace ui {

using ops::SettingRow;
using runtime::ConsolePrint;

namespace {

constexpr const char* kInvalidInputParameter = "Invalid input parameter!\n";

// The front end only makes sure the image can be opened; the library reads it.
// Only a regular file counts: opening a FIFO would block, and a folder or a
// device is no image on any platform.
bool PathOpens(const char* path) {
  struct stat info = {};
  const bool regular = stat(path, &info) == 0 && S_ISREG(info.st_mode);
  std::FILE* file = regular ? std::fopen(path, "r") : nullptr;
  if (file == nullptr) {
    ConsolePrint("Invalid firmware path.\n");
    return false;
  }
  std::fclose(file);
  return true;
}

bool IsOptionElement(const char* element) { return element != nullptr && element[0] == '-'; }

// Prints why the option list was rejected; the option's result is then 0.
int32_t RejectWith(const char* message) {
  ConsolePrint("%s", message);
  return 0;
}

// A text value of -ue into its field; values longer than the field are
// refused rather than cut.
bool TakeText(char* field, std::size_t size, const char* value) {
  return value != nullptr && CopyBoundedText(field, size, value);
}

// The setting with that -ue letter, or null.
const SettingRow* RowOfLetter(char letter) {
  for (const SettingRow& row : ops::kSettingRows) {
    if (row.letter == letter) return &row;
  }
  return nullptr;
}

// One sub-option's values from argv[*next] on, moving *next past them; 0
// with the message printed when they are refused.
int32_t TakeSubOption(char letter, const char* const* argv, int* next,
                      ops::CustomizedSetting& setting, char (&firmwarePath)[kFirmwarePathSize]) {
  const char* value = argv[*next - 1];
  if (letter == 'f') {
    return TakeText(firmwarePath, sizeof firmwarePath, value) ? 1
                                                              : RejectWith(kInvalidInputParameter);
  }
  const SettingRow* row = RowOfLetter(letter);
  if (row == nullptr) return RejectWith("Invalid input argument.\n");
  // A repeated -t replaces the earlier number.
  if (row->rule == ops::SettingRule::kSeconds) {
    return ParseDecimalInt32(value, &setting.standbyTimer) ? 1 : RejectWith(kInvalidInputParameter);
  }
  if (!TakeText(row->wanted(setting, 0), row->capacity, value)) {
    return RejectWith(kInvalidInputParameter);
  }
  if (row->parts[1] == nullptr) return 1;
  // -n fills its second text from the element after its first value.
  const char* second = argv[(*next)++];
  if (second == nullptr) return RejectWith(kPleaseInputParameter);
  return TakeText(row->wanted(setting, 1), row->capacity, second)
             ? 1
             : RejectWith(kInvalidInputParameter);
}

}  // namespace

int32_t RunUpdateWithCustomizedSetting(const char* device, const char* const* argv, char*) {
  char firmwarePath[kFirmwarePathSize] = {};
  ops::CustomizedSetting setting = {};
  int index = 2;
  if (!IsOptionElement(argv[index])) return RejectWith(kInvalidInputParameter);
  for (;;) {
    // Only the letter after the dash counts: -file is -f. A lone dash ends the list.
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(argv[index][1])));
    if (letter == '\0') break;
    if (argv[index + 1] == nullptr) return RejectWith(kInvalidInputParameter);
    int next = index + 2;
    if (TakeSubOption(letter, argv, &next, setting, firmwarePath) == 0) return 0;
    if (argv[next] == nullptr) break;
    if (!IsOptionElement(argv[next])) return RejectWith(kInvalidInputParameter);
    index = next;
  }

  if (!PathOpens(firmwarePath)) return 0;
  return ops::OpUpdateWithCustomizedSetting(device, &setting, firmwarePath);
}

// -ub and -un: element 2 is the path, handed on unchanged.
int32_t RunUpdateFromBin(const char* device, const char* const* argv, char*) {
  if (!PathOpens(argv[2])) return 0;
  const int32_t result = ops::OpUpdateFromBin(device, argv[2]);
  ConsolePrint("Update result: %d.\n", result);
  return result;
}

int32_t RunUpdateNoCustomizedSetting(const char* device, const char* const* argv, char*) {
  if (!PathOpens(argv[2])) return 0;
  return ops::OpUpdateNoCustomizedSetting(device, argv[2]);
}

}  // namespace ui
