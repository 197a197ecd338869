// The command line's firmware updates: -ub, -un and -ue with its option list.
#include <sys/stat.h>

#include <cctype>
#include <cstddef>
#include <cstdio>

#include "ops/customized_setting.h"
#include "ops/operations.h"
#include "runtime/console.h"
#include "ui/bounded_text.h"
#include "ui/decimal_number.h"
#include "ui/option_table.h"

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

// Where each text sub-option of -ue goes; -n fills a second field from the
// element after its first value.
struct TextTarget {
  char letter;
  char* field;
  size_t size;
  char* secondField;
};

}  // namespace

int32_t RunUpdateWithCustomizedSetting(const char* device, const char* const* argv, char*) {
  char firmwarePath[kFirmwarePathSize] = {};
  CustomizedSetting setting = {};
  const TextTarget targets[] = {
      {'f', firmwarePath, sizeof firmwarePath, nullptr},
      {'v', setting.vidText, sizeof setting.vidText, nullptr},
      {'p', setting.pidText, sizeof setting.pidText, nullptr},
      {'m', setting.manufacturer, sizeof setting.manufacturer, nullptr},
      {'i', setting.product, sizeof setting.product, nullptr},
      {'s', setting.serialNumber, sizeof setting.serialNumber, nullptr},
      {'n', setting.hddString1, sizeof setting.hddString1, setting.hddString2},
  };

  int index = 2;
  if (!IsOptionElement(argv[index])) return RejectWith(kInvalidInputParameter);
  for (;;) {
    // Only the letter after the dash counts: -file is -f. A lone dash ends the list.
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(argv[index][1])));
    if (letter == '\0') break;
    const char* value = argv[index + 1];
    if (value == nullptr) return RejectWith(kInvalidInputParameter);
    int next = index + 2;
    if (letter == 't') {
      // A repeated -t replaces the earlier number.
      if (!ParseDecimalInt32(value, &setting.standbyTimer)) {
        return RejectWith(kInvalidInputParameter);
      }
    } else {
      const TextTarget* target = nullptr;
      for (const TextTarget& candidate : targets) {
        if (candidate.letter == letter) target = &candidate;
      }
      if (target == nullptr) return RejectWith("Invalid input argument.\n");
      // Values longer than their field are refused rather than cut.
      if (!CopyBoundedText(target->field, target->size, value)) {
        return RejectWith(kInvalidInputParameter);
      }
      if (target->secondField != nullptr) {
        const char* second = argv[next];
        if (second == nullptr) return RejectWith(kPleaseInputParameter);
        if (!CopyBoundedText(target->secondField, target->size, second)) {
          return RejectWith(kInvalidInputParameter);
        }
        ++next;
      }
    }
    if (argv[next] == nullptr) break;
    if (!IsOptionElement(argv[next])) return RejectWith(kInvalidInputParameter);
    index = next;
  }

  if (!PathOpens(firmwarePath)) return 0;
  return OpUpdateWithCustomizedSetting(device, &setting, firmwarePath);
}

// -ub and -un: element 2 is the path, handed on unchanged.
int32_t RunUpdateFromBin(const char* device, const char* const* argv, char*) {
  if (!PathOpens(argv[2])) return 0;
  const int32_t result = OpUpdateFromBin(device, argv[2]);
  ConsolePrint("Update result: %d.\n", result);
  return result;
}

int32_t RunUpdateNoCustomizedSetting(const char* device, const char* const* argv, char*) {
  if (!PathOpens(argv[2])) return 0;
  return OpUpdateNoCustomizedSetting(device, argv[2]);
}
