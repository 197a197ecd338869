#include "line/long_options.h"

#include <toml++/toml.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "line/apply.h"
#include "line/unit_reading.h"
#include "platform/files.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"
#include "ui/command_line.h"
#include "ui/menu.h"
#include "ui/option_table.h"
#include "ui/tool_version.h"

namespace {

using Take = void (*)(LineRequest& request, const char* value);

struct LongOption {
  const char* name;
  int values;
  const char* help;
  Take take;
};

// In the order of the help output.
const LongOption kLongOptions[] = {
    {"--list", 0,
     " --list                            : One line per device: number, path, series,\n"
     "                                     mode, version, VID:PID, serial\n",
     [](LineRequest& r, const char*) { r.action = LineAction::kList; }},
    {"--device", 1,
     " --device N|PATH [OPTION]          : Act on device N (from 1) or PATH; with an\n"
     "                                     option above, run it; without, the menu\n",
     [](LineRequest& r, const char* value) { r.device = value; }},
    {"--apply", 1,
     " --apply PROFILE                   : Bring units to the profile, verify, record\n",
     [](LineRequest& r, const char* value) {
       r.action = LineAction::kApply;
       r.profilePath = value;
     }},
    {"--all", 0, " --all                             : With --apply: every listed device\n",
     [](LineRequest& r, const char*) { r.all = true; }},
    {"--dry-run", 0,
     " --dry-run                         : With --apply: read and check only, show\n"
     "                                     what would change\n",
     [](LineRequest& r, const char*) { r.dryRun = true; }},
    {"--record", 1,
     " --record FILE                     : With --apply: the record (default\n"
     "                                     bridgefw-record.jsonl beside the profile)\n",
     [](LineRequest& r, const char* value) { r.recordPath = value; }},
    {"--json", 0, " --json                            : With --apply or --list: JSON on output\n",
     [](LineRequest& r, const char*) { r.json = true; }},
    {"--save-profile", 1,
     " --save-profile FILE               : Save a unit's settings as a new profile\n",
     [](LineRequest& r, const char* value) {
       r.action = LineAction::kSaveProfile;
       r.savePath = value;
     }},
    {"--help", 0, " --help                            : This help\n",
     [](LineRequest& r, const char*) { r.action = LineAction::kHelp; }},
    {"--version", 0, " --version                         : The tool's name and version\n",
     [](LineRequest& r, const char*) { r.action = LineAction::kVersion; }},
};

LineRequest Refused(LineRequest request, const std::string& why) {
  ConsolePrint("%s (see --help)\n", why.c_str());
  request.finished = true;
  request.status = kLineUsageError;
  return request;
}

// What goes with what; "" when the combination is sound.
std::string Conflict(const LineRequest& r) {
  const bool apply = r.action == LineAction::kApply;
  if (r.classic != nullptr && r.action != LineAction::kNone) return "an option after a long option";
  if (r.action == LineAction::kNone && r.device == nullptr) return "nothing to do";
  if (!apply && (r.all || r.dryRun || r.recordPath != nullptr)) {
    return "--all, --dry-run and --record go with --apply";
  }
  if (r.json && !apply && r.action != LineAction::kList)
    return "--json goes with --apply or --list";
  if (r.all && r.device != nullptr) return "--all or --device, not both";
  if (r.device != nullptr && r.action != LineAction::kNone && !apply &&
      r.action != LineAction::kSaveProfile) {
    return "--device does not go with this option";
  }
  return "";
}

// Index into DeviceList of a number from 1 or a listed path; -1 when neither.
int FindDevice(const char* value) {
  char* end = nullptr;
  const long number = std::strtol(value, &end, 10);
  if (value[0] >= '0' && value[0] <= '9' && *end == '\0' && number >= 1 &&
      number <= ListedDeviceCount()) {
    return static_cast<int>(number - 1);
  }
  for (int i = 0; i < ListedDeviceCount(); ++i) {
    if (std::strcmp(DeviceList[i], value) == 0) return i;
  }
  return -1;
}

// The one unit a request acts on: --device's, or the only one listed.
int SingleUnit(const LineRequest& request, int* status) {
  if (request.device != nullptr) {
    const int index = FindDevice(request.device);
    if (index < 0) {
      ConsolePrint("Device %s is not listed\n", request.device);
      *status = kLineNoDevice;
    }
    return index;
  }
  if (ListedDeviceCount() == 1) return 0;
  ConsolePrint("%d devices are listed: choose one with --device N|PATH%s (see --help)\n",
               ListedDeviceCount(), request.action == LineAction::kApply ? ", or --all" : "");
  *status = kLineUsageError;
  return -1;
}

// At most kMaxDevices path buffers are given to the library: with as many
// listed, more may be attached and are not seen.
void PrintListLimit() {
  if (ListedDeviceCount() < kMaxDevices) return;
  ConsolePrint("At most %d units are seen at once: more may be attached\n", kMaxDevices);
}

Json ListedJson(int i, const UnitReading& unit, bool read, const std::string& version) {
  return Json{{"device", i + 1},
              {"path", DeviceList[i]},
              {"series", SeriesName(unit)},
              {"mode", ModeName(unit)},
              {"version", version},
              {"vid", read ? HexId(unit.setting.vid) : "?"},
              {"pid", read ? HexId(unit.setting.pid) : "?"},
              {"serial", read ? unit.setting.serialNumber : "?"}};
}

// A unit that could not be read (any call refused) makes the status 1.
int ListDevices(const LineRequest& request) {
  Json list = Json::array();
  int status = kLineAllPassed;
  for (int i = 0; i < ListedDeviceCount(); ++i) {
    UnitReading unit;
    const RefusalWatch watch;
    const bool read = ReadUnit(DeviceList[i], &unit) && watch.FirstRefused() == nullptr;
    if (!read) status = kLineUnitFailed;
    const bool firmware = std::strcmp(ModeName(unit), "firmware") == 0;
    const std::string version = firmware ? unit.version : "-";
    const std::string ids = read ? HexId(unit.setting.vid) + ":" + HexId(unit.setting.pid) : "?";
    const std::string serial = read ? unit.setting.serialNumber : "?";
    if (request.json) {
      list.push_back(ListedJson(i, unit, read, version));
    } else {
      ConsolePrint("%d %s %s %s %s %s %s\n", i + 1, ShownText(DeviceList[i]).c_str(),
                   SeriesName(unit), ModeName(unit), ShownText(version).c_str(), ids.c_str(),
                   ShownText(serial).c_str());
    }
  }
  if (request.json) {
    ConsolePrint("%s\n", list.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
  } else {
    PrintListLimit();
  }
  return status;
}

// The keys of a saved profile: what the profile would take back, and a
// comment for each text it would not, so that what is saved always loads.
void AddSavedText(toml::table& keys, std::string& leftOut, const char* key,
                  const std::string& value) {
  if (value.empty()) {
    leftOut +=
        std::string("# ") + key + " left out: the unit's is empty, and a profile takes none\n";
  } else if (!ProfileTakesText(value)) {
    leftOut += std::string("# ") + key + " left out: the unit's is not printable ASCII\n";
  } else {
    keys.insert(key, value);
  }
}

// A golden unit's settings as a profile. The serial is each unit's own and
// the HDD strings read back joined, so neither is written as a key.
std::string SavedProfile(const char* path, const UnitReading& unit) {
  const CustomizedSetting& s = unit.setting;
  toml::table keys{{"vid", HexId(s.vid)}, {"pid", HexId(s.pid)}};
  std::string leftOut;
  AddSavedText(keys, leftOut, "manufacturer", s.manufacturer);
  AddSavedText(keys, leftOut, "product", s.product);
  if (s.standbyTimer >= 0) keys.insert("timer", s.standbyTimer);
  if (s.standbyTimer < 0) leftOut += "# timer left out: the unit's is below 0\n";
  std::ostringstream text;
  text << "# Saved by bridgefw " << kToolVersion << " from " << path << " (" << unit.version
       << ").\n"
       << "# Its serial was " << toml::value<std::string>(s.serialNumber)
       << "; give each unit its own with serial = \"PREFIX-{n:6}\".\n"
       << "# Its HDD strings read back as one, " << toml::value<std::string>(s.hddString)
       << "; name hdd1 and hdd2 to write them.\n"
       << leftOut << keys << "\n";
  return text.str();
}

int SaveProfile(const LineRequest& request) {
  int status = kLineAllPassed;
  const int index = SingleUnit(request, &status);
  if (index < 0) return status;
  UnitReading unit;
  if (!ReadUnit(DeviceList[index], &unit)) {
    ConsolePrint("Reading %s failed\n", ShownText(DeviceList[index]).c_str());
    return kLineUnitFailed;
  }
  std::string why;
  if (!platform::CreateNewFile(request.savePath, SavedProfile(DeviceList[index], unit), &why)) {
    ConsolePrint("%s\n", why.c_str());
    return kLineUsageError;
  }
  ConsolePrint("Saved %s as %s\n", ShownText(DeviceList[index]).c_str(), request.savePath);
  return kLineAllPassed;
}

void PrintLongOptionsHelp() {
  PrintHelpPage();
  ConsolePrint("Long options, before any option above:\n");
  for (const LongOption& option : kLongOptions) ConsolePrint("%s", option.help);
  ConsolePrint(
      "Exit status: 0 all passed, 1 a unit failed, 2 usage or profile error,\n"
      "3 no library or no device.\n");
  ConsolePrint("%s", kHelpRule);
}

}  // namespace

bool IsLongOptionRun(const char* const* argv) {
  return argv != nullptr && argv[0] != nullptr && argv[1] != nullptr &&
         std::strncmp(argv[1], "--", 2) == 0;
}

LineRequest ParseLongOptions(const char* const* argv) {
  LineRequest request;
  // Help wins over whatever else is asked.
  for (int at = 1; argv[at] != nullptr && std::strncmp(argv[at], "--", 2) == 0; ++at) {
    if (std::strcmp(argv[at], "--help") == 0) request.action = LineAction::kHelp;
  }
  if (request.action == LineAction::kHelp) return request;
  bool seen[sizeof kLongOptions / sizeof kLongOptions[0]] = {};
  int at = 1;
  for (; argv[at] != nullptr && std::strncmp(argv[at], "--", 2) == 0; ++at) {
    const LongOption* option = nullptr;
    for (const LongOption& candidate : kLongOptions) {
      if (std::strcmp(argv[at], candidate.name) == 0) option = &candidate;
    }
    if (option == nullptr) return Refused(request, std::string("Unknown option ") + argv[at]);
    if (seen[option - kLongOptions])
      return Refused(request, std::string(argv[at]) + " given twice");
    seen[option - kLongOptions] = true;
    for (int value = 1; value <= option->values; ++value) {
      if (argv[at + value] == nullptr)
        return Refused(request, std::string(argv[at]) + " needs a value");
    }
    const LineAction before = request.action;
    LineRequest taken = request;
    option->take(taken, option->values > 0 ? argv[at + 1] : nullptr);
    if (before != LineAction::kNone && taken.action != before) {
      return Refused(request, std::string(argv[at]) +
                                  ": one of --list, --apply, --save-profile, "
                                  "--help, --version");
    }
    request = taken;
    at += option->values;
  }
  if (argv[at] != nullptr) request.classic = argv + at;
  const std::string conflict = Conflict(request);
  if (!conflict.empty()) return Refused(request, conflict);
  if (request.action == LineAction::kVersion) {
    ConsolePrint("bridgefw %s\n", kToolVersion);
    request.finished = true;
  }
  if (request.action == LineAction::kApply) {
    std::string why;
    if (!LoadProfile(request.profilePath, &request.profile, &why)) {
      ConsolePrint("%s\n", why.c_str());
      request.finished = true;
      request.status = kLineUsageError;
    }
  }
  return request;
}

int RunLongOptionsWithoutDevice(const LineRequest& request) {
  if (request.action == LineAction::kHelp) return RunLongOptions(request);
  ConsolePrint(request.action == LineAction::kList && request.json ? "[]\n"
                                                                   : "Not connect device\n");
  return kLineNoDevice;
}

int RunLongOptions(const LineRequest& request) {
  int status = kLineAllPassed;
  switch (request.action) {
    case LineAction::kHelp:
      PrintLongOptionsHelp();
      return kLineAllPassed;
    case LineAction::kList:
      return ListDevices(request);
    case LineAction::kSaveProfile:
      return SaveProfile(request);
    case LineAction::kApply: {
      std::vector<int> units;
      if (request.all) {
        for (int i = 0; i < ListedDeviceCount(); ++i) units.push_back(i);
      } else {
        const int index = SingleUnit(request, &status);
        if (index < 0) return status;
        units.push_back(index);
      }
      return ApplyProfile(request, units);
    }
    default:
      break;
  }
  // --device with an option of the help page, or alone for the menu: as
  // without --device, on the device chosen. The element before the option
  // stands in for the program name.
  const int index = SingleUnit(request, &status);
  if (index < 0) return status;
  if (request.classic != nullptr) {
    RunCommandLine(DeviceList[index], request.classic - 1);
  } else {
    RunMenu(DeviceList[index]);
  }
  return kLineAllPassed;
}
