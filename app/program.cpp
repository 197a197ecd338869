#include "app/program.h"

#include "app/close_prompt.h"
#include "line/apply.h"
#include "line/long_options.h"
#include "platform/process.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "ui/command_line.h"
#include "ui/menu.h"

namespace app {

using runtime::deviceCount;
using runtime::DeviceList;
using sdk::ApiTable;

namespace {

// The front end, once the library is loaded (or not: help needs none).
int RunFrontEnd(const char* const* argv, const line::LineRun* run) {
  if (ApiTable.module == nullptr && run != nullptr &&
      run->request.action == line::LineAction::kHelp) {
    return line::RunLongOptionsWithoutDevice(*run);
  }
  if (ApiTable.module == nullptr) {
    runtime::ConsolePrint("Initalize the API entries fail!\n");
    return line::kLineNoDevice;
  }
  ApiTable.QZ_GetDeviceList(DeviceList, &deviceCount);
  if (run != nullptr) {
    return deviceCount > 0 ? line::RunLongOptions(*run) : line::RunLongOptionsWithoutDevice(*run);
  }
  if (deviceCount <= 0) {
    runtime::ConsolePrint("Not connect device\n");
  } else if (argv != nullptr && argv[0] != nullptr && argv[1] != nullptr) {
    ui::RunCommandLine(DeviceList[0], argv);
  } else {
    ui::RunMenu(DeviceList[0]);
  }
  return line::kLineAllPassed;
}

}  // namespace

int RunProgram(const char* const* argv, const char* const* utf8Argv) {
  // A reader that goes away early must not stop the run between a prompt and
  // its operation: the output is dropped and the run goes on to its end.
  platform::KeepRunningWithoutReader();
  // Long options are read before the library is touched: a usage or profile
  // error, --version or --report (which need no library) ends the run here.
  const bool longOptions = line::IsLongOptionRun(argv);
  line::LineRun run;
  if (longOptions) {
    const char* const* taken = utf8Argv != nullptr ? utf8Argv : argv;
    if (const std::optional<int> status = line::PrepareLongOptions(taken, &run)) return *status;
    // Both hold the same elements in the same places: the classic options
    // keep their narrow arguments.
    if (run.request.classic != nullptr) run.request.classic = argv + (run.request.classic - taken);
    if (run.request.action == line::LineAction::kApply) line::WatchApplyStops(run.request);
  }
  int status = line::kLineAllPassed;
  // Without memory for the path buffers there is nothing to do, and no message
  // for it: the run ends quietly.
  if (runtime::AllocateDeviceList()) {
    ApiTable.module = sdk::LoadApiEntries();
    status = RunFrontEnd(argv, longOptions ? &run : nullptr);
  }
  if (ApiTable.module != nullptr) {
    FreeLibrary(ApiTable.module);
    ApiTable.module = nullptr;
  }
  runtime::FreeDeviceList();
  HoldOwnConsoleWindow(ui::MenuExitChosen());
  // The classic runs report only in text: their status is always 0.
  return longOptions ? status : 0;
}

}  // namespace app
