// The writing options -sv, -sp, -ss, -sm, -si, -st and -sn: the values are the
// argument elements themselves, handed to one write operation unchanged.
#include "app/console.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "ui/decimal_number.h"
#include "ui/option_families.h"

namespace {

struct TextWriter {
  char option;
  int32_t (*operation)(const char* text);
};

constexpr TextWriter kTextWriters[] = {
    {'v', OpSetVendorId},           {'p', OpSetProductId},     {'s', OpSetSerialNumber},
    {'m', OpSetManufacturerString}, {'i', OpSetProductString},
};

int32_t RunStandbyTimerOption(const char* text) {
  // A text that is no decimal number must not reach the device as one.
  int32_t seconds = 0;
  if (!AccumulateDecimal(text, &seconds)) {
    PrintInputParameterError();
    return 0;
  }
  ConsolePrint("standby Timer %d\n", seconds);
  return OpSetStandbyTimer(seconds);
}

}  // namespace

int32_t RunWriterOption(char option, const char* const* argv, char* /*resultText*/) {
  if (option == 'n') {
    if (!HasValueElements(argv, 2)) return 0;
    return OpSetHDDString(argv[2], argv[3]);
  }
  if (option == 't') {
    if (!HasValueElements(argv, 1)) return 0;
    return RunStandbyTimerOption(argv[2]);
  }
  for (const TextWriter& writer : kTextWriters) {
    if (writer.option != option) continue;
    if (!HasValueElements(argv, 1)) return 0;
    return writer.operation(argv[2]);
  }
  return 0;
}
