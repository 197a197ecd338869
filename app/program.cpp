#include "app/program.h"

#include "app/close_prompt.h"
#include "line/long_options.h"
#include "platform/process.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "ui/command_line.h"
#include "ui/menu.h"

int RunProgram(const char* const* argv, const char* const* utf8Argv) {
  // A reader that goes away early must not stop the run between a prompt and
  // its operation: the output is dropped and the run goes on to its end.
  platform::KeepRunningWithoutReader();
  // Long options are read before the library is touched: a usage or profile
  // error, or --version, ends the run here.
  const bool longOptions = IsLongOptionRun(argv);
  LineRequest line;
  if (longOptions) {
    const char* const* taken = utf8Argv != nullptr ? utf8Argv : argv;
    line = ParseLongOptions(taken);
    // Both hold the same elements in the same places.
    if (line.classic != nullptr) line.classic = argv + (line.classic - taken);
    if (line.finished) return line.status;
  }
  int status = kLineAllPassed;
  // Without memory for the path buffers there is nothing to do, and no message
  // for it: the run ends quietly.
  if (AllocateDeviceList()) {
    ApiTable.module = LoadApiEntries();
    if (ApiTable.module == nullptr) {
      ConsolePrint("Initalize the API entries fail!\n");
      status = kLineNoDevice;
    } else {
      ApiTable.QZ_GetDeviceList(DeviceList, &deviceCount);
      if (deviceCount <= 0 && (!longOptions || line.needsDevice)) {
        ConsolePrint("Not connect device\n");
        status = kLineNoDevice;
      } else if (longOptions) {
        status = RunLongOptions(line);
      } else if (argv != nullptr && argv[0] != nullptr && argv[1] != nullptr) {
        RunCommandLine(DeviceList[0], argv);
      } else {
        RunMenu(DeviceList[0]);
      }
    }
  }
  if (ApiTable.module != nullptr) {
    FreeLibrary(ApiTable.module);
    ApiTable.module = nullptr;
  }
  FreeDeviceList();
  HoldOwnConsoleWindow(MenuExitChosen());
  // The classic runs report only in text: their status is always 0.
  return longOptions ? status : 0;
}
