#include "app/program.h"

#include "app/close_prompt.h"
#include "platform/process.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "ui/command_line.h"
#include "ui/menu.h"

int RunProgram(const char* const* argv) {
  // A reader that goes away early must not stop the run between a prompt and
  // its operation: the run ends as every run does, with 0.
  platform::KeepRunningWithoutReader();
  // Without memory for the path buffers there is nothing to do, and no message
  // for it: the run ends quietly.
  if (AllocateDeviceList()) {
    ApiTable.module = LoadApiEntries();
    if (ApiTable.module == nullptr) {
      ConsolePrint("Initalize the API entries fail!\n");
    } else {
      ApiTable.QZ_GetDeviceList(DeviceList, &deviceCount);
      if (deviceCount <= 0) {
        ConsolePrint("Not connect device\n");
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
  return 0;
}
