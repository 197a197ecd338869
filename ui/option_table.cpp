#include "ui/option_table.h"

#include "ops/messages.h"
#include "ops/operations.h"
#include "runtime/console.h"
#include "runtime/tool_version.h"
#include "sdk/library_text.h"
#include "ui/decimal_number.h"
#include "ui/value_lines.h"

namespace ui {

using runtime::ConsolePrint;

namespace {

int32_t ReadFWVersion(const char* device, const char* const*, char* resultText) {
  const int32_t result = ops::OpGetFWVersion(device, resultText);
  if (result != 0) PrintFWVersion(resultText);
  return result;
}

// The single readers print with formats of their own, after success only.
template <int32_t (*Read)(const char*, char*), const char* const* Format>
int32_t ReadText(const char* device, const char* const*, char* resultText) {
  return WithValueLine(Read(device, resultText), *Format, static_cast<const char*>(resultText));
}

template <typename T, int32_t (*Read)(const char*, T*), const char* const* Format>
int32_t ReadValue(const char* device, const char* const*, char*) {
  T value = 0;
  const int32_t result = Read(device, &value);
  return WithValueLine(result, *Format, value);
}

int32_t ReadWholeSetting(const char* device, const char* const*, char*) {
  ops::CustomizedSetting setting = {};
  const int32_t result = ops::OpGetCustomizedSetting(device, &setting);
  if (result != 0) PrintCustomizedSetting(setting);
  return result;
}

template <int32_t (*Write)(const char*, const char*)>
int32_t WriteText(const char* device, const char* const* argv, char*) {
  return Write(device, argv[2]);
}

int32_t WriteStandbyTimer(const char* device, const char* const* argv, char*) {
  // A text that is no decimal number must not reach the device as one.
  int32_t seconds = 0;
  if (!ParseDecimalInt32(argv[2], &seconds)) {
    ops::PrintInputParameterError();
    return 0;
  }
  ConsolePrint("standby Timer %d\n", seconds);
  return ops::OpSetStandbyTimer(device, seconds);
}

int32_t WriteHDDString(const char* device, const char* const* argv, char*) {
  return ops::OpSetHDDString(device, argv[2], argv[3]);
}

int32_t RunHelp(const char*, const char* const*, char*) { return PrintHelpPage(); }

// Template arguments need objects of their own.
constexpr const char* kVid = kVidLine;
constexpr const char* kPid = kPidLine;
constexpr const char* kSerial = kSerialNumberLine;
constexpr const char* kManufacturer = "Manufacture string : %s\n";
constexpr const char* kProduct = kProductLine;
constexpr const char* kTimer = "Standby Timer Value : %d\n";
constexpr const char* kHdd = "HDD String: %s \n";

}  // namespace

// clang-format off
const char* const kHelpRule =
    "----------------------------------------------------------------------------------------------\n";
const char* const kHelpHeader =
    "[param]                             [brief]                                                   \n";

// In the order of the help page. Every help line is padded to the same width;
// the -ue line keeps its tab.
const CommandLineOption kCommandLineOptions[] = {
    {"h", 0,
     " -h                                : Help                                                     \n",
     RunHelp},
    {"fv", 0,
     " -fv                               : Get FW version                                           \n",
     ReadFWVersion},
    {"ub", 1,
     " -ub [BIN_FILE_PATH]               : Update firmware and customized setting from bin          \n",
     RunUpdateFromBin},
    {"un", 1,
     " -un [BIN_FILE_PATH]               : Update firmware without customized setting               \n",
     RunUpdateNoCustomizedSetting},
    {"ue", 0,
     " -ue [OPTION]\t                   : Update firmware and customized setting                   \n"
     "   OPTION:                                                                                    \n"
     "   -f [BIN_FILE_PATH]                                                                         \n"
     "   -v [VID]                                                                                   \n"
     "   -p [PID]                                                                                   \n"
     "   -m [MANUFACTURER_STR]                                                                      \n"
     "   -i [PRODUCT_INFO]                                                                          \n"
     "   -s [SN]                                                                                    \n"
     "   -n [HDDStr1] [HDDStr2]                                                                     \n"
     "   -t [TIME_SEC]                                                                              \n",
     RunUpdateWithCustomizedSetting},
    {"ged", 0,
     " -ged                              : Get customized setting from device                       \n",
     ReadWholeSetting},
    {"gvd", 0,
     " -gvd                              : Get Vendor id from device                                \n",
     ReadValue<uint16_t, ops::OpGetVendorId, &kVid>},
    {"sv", 1,
     " -sv [VID]                         : Set Vendor id                                            \n",
     WriteText<ops::OpSetVendorId>},
    {"gpd", 0,
     " -gpd                              : Get Product id from device                               \n",
     ReadValue<uint16_t, ops::OpGetProductId, &kPid>},
    {"sp", 1,
     " -sp [PID]                         : Set Product id                                           \n",
     WriteText<ops::OpSetProductId>},
    {"gsd", 0,
     " -gsd                              : Get serial number from device                            \n",
     ReadText<ops::OpGetSerialNumber, &kSerial>},
    {"ss", 1,
     " -ss [SN]                          : Set serial numver                                        \n",
     WriteText<ops::OpSetSerialNumber>},
    {"gmd", 0,
     " -gmd                              : Get manufacture string from device                       \n",
     ReadText<ops::OpGetManufacturerString, &kManufacturer>},
    {"sm", 1,
     " -sm [MANUFACTURER_STR]            : Set manufacture string                                   \n",
     WriteText<ops::OpSetManufacturerString>},
    {"gid", 0,
     " -gid                              : Get product information from device                      \n",
     ReadText<ops::OpGetProductString, &kProduct>},
    {"si", 1,
     " -si [PRODUCT_INFO]                : Set product information                                  \n",
     WriteText<ops::OpSetProductString>},
    {"gtd", 0,
     " -gtd                              : Get standby timer from device                            \n",
     ReadValue<int32_t, ops::OpGetStandbyTimer, &kTimer>},
    {"st", 1,
     " -st [TIME_SEC]                    : Set standby timer                                        \n",
     WriteStandbyTimer},
    {"gnd", 0,
     " -gnd                              : Get HDD String from device                               \n",
     ReadText<ops::OpGetHDDString, &kHdd>},
    {"sn", 2,
     " -sn [HDDStr1] [HDDStr2]           : Set HDD string                                           \n",
     WriteHDDString},
};
// clang-format on
const std::size_t kCommandLineOptionCount =
    sizeof kCommandLineOptions / sizeof kCommandLineOptions[0];

int32_t PrintHelpPage() {
  char sdkVersionText[kSdkVersionSize];
  sdk::ReadSdkVersion(sdkVersionText);
  ConsolePrint("%s", kHelpRule);
  ConsolePrint("Sample tool %s \n", runtime::kToolVersion);
  ConsolePrint("SDK version : %s\n", sdkVersionText);
  ConsolePrint("%s", kHelpRule);
  ConsolePrint("%s", kHelpHeader);
  for (std::size_t at = 0; at < kCommandLineOptionCount; ++at) {
    ConsolePrint("%s", kCommandLineOptions[at].help);
  }
  ConsolePrint("%s", kHelpRule);
  return 1;
}

}  // namespace ui
