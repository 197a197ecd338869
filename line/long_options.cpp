#include "line/long_options.h"

#include "line/apply.h"
#include "line/device_choice.h"
#include "line/list_devices.h"
#include "line/saved_profile.h"
#include "line/shift_report.h"
#include "line/station.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "runtime/tool_version.h"
#include "ui/command_line.h"
#include "ui/menu.h"
#include "ui/option_table.h"

namespace line {

using runtime::ConsolePrint;

namespace {

int PrintHelp() {
  ui::PrintHelpPage();
  ConsolePrint("Long options, before any option above:\n%s", LongOptionsHelp().c_str());
  ConsolePrint(
      "Exit status: 0 all passed, 1 a unit failed, 2 usage or profile error,\n"
      "3 no library or no device.\n");
  ConsolePrint("%s", ui::kHelpRule);
  return kLineAllPassed;
}

int Apply(const LineRun& run) {
  if (run.request.watch) return station::RunStation(run);
  std::vector<int> units;
  int status = kLineAllPassed;
  if (run.request.all) {
    for (int i = 0; i < runtime::ListedDeviceCount(); ++i) units.push_back(i);
  } else {
    const int index = ChooseUnit(run.request, &status);
    if (index < 0) return status;
    units.push_back(index);
  }
  if (run.request.jobs > 1) return station::ApplyInWorkers(run, units);
  return ApplyProfile(run.request, run.profile, units);
}

// --device with an option of the help page, or alone for the menu: as
// without --device, on the device chosen. The element before the option
// stands in for the program name.
int RunClassic(const LineRequest& request) {
  int status = kLineAllPassed;
  const int index = ChooseUnit(request, &status);
  if (index < 0) return status;
  if (request.classic != nullptr) {
    ui::RunCommandLine(runtime::DeviceList[index], request.classic - 1);
  } else {
    ui::RunMenu(runtime::DeviceList[index]);
  }
  return kLineAllPassed;
}

}  // namespace

std::optional<int> PrepareLongOptions(const char* const* argv, LineRun* run) {
  std::string why;
  if (!ParseLongOptions(argv, &run->request, &why)) {
    ConsolePrint("%s (see --help)\n", why.c_str());
    return kLineUsageError;
  }
  if (run->request.action == LineAction::kVersion) {
    ConsolePrint("bridgefw %s\n", runtime::kToolVersion);
    return kLineAllPassed;
  }
  // A shift report reads records only: it runs here, where no library is needed.
  if (run->request.action == LineAction::kReport) return shift::RunShiftReport(run->request);
  if (run->request.action == LineAction::kApply &&
      !LoadProfile(run->request.profilePath, &run->profile, &why)) {
    ConsolePrint("%s\n", why.c_str());
    return kLineUsageError;
  }
  return std::nullopt;
}

int RunLongOptions(const LineRun& run) {
  switch (run.request.action) {
    case LineAction::kHelp:
      return PrintHelp();
    case LineAction::kList:
      return ListDevices(run.request);
    case LineAction::kSaveProfile:
      return SaveProfile(run.request);
    case LineAction::kApply:
      return Apply(run);
    default:
      return RunClassic(run.request);
  }
}

int RunLongOptionsWithoutDevice(const LineRun& run) {
  if (run.request.action == LineAction::kHelp) return PrintHelp();
  // A station waits for its first unit.
  if (run.request.action == LineAction::kApply && run.request.watch)
    return station::RunStation(run);
  const bool jsonList = run.request.action == LineAction::kList && run.request.json;
  ConsolePrint(jsonList ? "[]\n" : "Not connect device\n");
  return kLineNoDevice;
}

}  // namespace line
