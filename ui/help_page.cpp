#include "ui/help_page.h"

#include "app/console.h"
#include "sdk/library_text.h"
#include "ui/tool_version.h"

// clang-format off
const char* const kHelpRule =
    "----------------------------------------------------------------------------------------------\n";

// Every line is padded to the same width; the -ue line keeps its tab.
const char* const kHelpLines[kHelpLineCount] = {
    "[param]                             [brief]                                                   \n",
    " -h                                : Help                                                     \n",
    " -fv                               : Get FW version                                           \n",
    " -ub [BIN_FILE_PATH]               : Update firmware and customized setting from bin          \n",
    " -un [BIN_FILE_PATH]               : Update firmware without customized setting               \n",
    " -ue [OPTION]\t                   : Update firmware and customized setting                   \n",
    "   OPTION:                                                                                    \n",
    "   -f [BIN_FILE_PATH]                                                                         \n",
    "   -v [VID]                                                                                   \n",
    "   -p [PID]                                                                                   \n",
    "   -m [MANUFACTURER_STR]                                                                      \n",
    "   -i [PRODUCT_INFO]                                                                          \n",
    "   -s [SN]                                                                                    \n",
    "   -n [HDDStr1] [HDDStr2]                                                                     \n",
    "   -t [TIME_SEC]                                                                              \n",
    " -ged                              : Get customized setting from device                       \n",
    " -gvd                              : Get Vendor id from device                                \n",
    " -sv [VID]                         : Set Vendor id                                            \n",
    " -gpd                              : Get Product id from device                               \n",
    " -sp [PID]                         : Set Product id                                           \n",
    " -gsd                              : Get serial number from device                            \n",
    " -ss [SN]                          : Set serial numver                                        \n",
    " -gmd                              : Get manufacture string from device                       \n",
    " -sm [MANUFACTURER_STR]            : Set manufacture string                                   \n",
    " -gid                              : Get product information from device                      \n",
    " -si [PRODUCT_INFO]                : Set product information                                  \n",
    " -gtd                              : Get standby timer from device                            \n",
    " -st [TIME_SEC]                    : Set standby timer                                        \n",
    " -gnd                              : Get HDD String from device                               \n",
    " -sn [HDDStr1] [HDDStr2]           : Set HDD string                                           \n",
};
// clang-format on

int32_t PrintHelpPage() {
  char sdkVersionText[kSdkVersionSize];
  ReadSdkVersion(sdkVersionText);
  ConsolePrint("%s", kHelpRule);
  ConsolePrint("Sample tool %s \n", kToolVersion);
  ConsolePrint("SDK version : %s\n", sdkVersionText);
  ConsolePrint("%s", kHelpRule);
  for (const char* line : kHelpLines) ConsolePrint("%s", line);
  ConsolePrint("%s", kHelpRule);
  return 1;
}
