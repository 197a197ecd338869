#include <cstdint>

#include "app/console.h"
#include "ops/operations.h"
#include "ui/option_families.h"
#include "ui/value_lines.h"

namespace {

using ReaderHandler = int32_t (*)(const char* format, char* resultText);

// Lines are printed only after a successful read.
template <int32_t (*Read)(char*)>
int32_t ReadText(const char* format, char* resultText) {
  return WithValueLine(Read(resultText), format, static_cast<const char*>(resultText));
}

template <typename T, int32_t (*Read)(T*)>
int32_t ReadValue(const char* format, char*) {
  T value = 0;
  const int32_t result = Read(&value);
  return WithValueLine(result, format, value);
}

int32_t ReadWholeSetting(const char*, char*) {
  CustomizedSetting setting = {};
  const int32_t result = OpGetCustomizedSetting(&setting);
  if (result != 0) PrintCustomizedSetting(setting);
  return result;
}

struct ReaderOption {
  char option;
  const char* format;  // the single readers' own line formats
  ReaderHandler handler;
};

constexpr ReaderOption kReaderOptions[] = {
    {'e', nullptr, ReadWholeSetting},
    {'v', kVidLine, ReadValue<uint16_t, OpGetVendorId>},
    {'p', kPidLine, ReadValue<uint16_t, OpGetProductId>},
    {'s', kSerialNumberLine, ReadText<OpGetSerialNumber>},
    {'m', "Manufacture string : %s\n", ReadText<OpGetManufacturerString>},
    {'i', kProductLine, ReadText<OpGetProductString>},
    {'t', "Standby Timer Value : %d\n", ReadValue<int32_t, OpGetStandbyTimer>},
    {'n', "HDD String: %s \n", ReadText<OpGetHDDString>},
};

}  // namespace

int32_t RunReaderOption(char option, const char* const*, char* resultText) {
  for (const ReaderOption& row : kReaderOptions) {
    if (row.option == option) return row.handler(row.format, resultText);
  }
  return 0;
}
