#include "line/request.h"

#include <cstring>

#include "runtime/decimal.h"
#include "ui/option_row.h"

namespace line {

namespace {

// A whole number from `least` to `most`; otherwise `fault`.
const char* Number(const char* text, int least, int most, int* value, const char* fault) {
  uint64_t number = 0;
  if (!runtime::ParseUnsigned(text, static_cast<uint64_t>(most), &number) ||
      number < static_cast<uint64_t>(least)) {
    return fault;
  }
  *value = static_cast<int>(number);
  return nullptr;
}

// What an option sets in the request; null, or why its value is refused.
using Take = const char* (*)(LineRequest& request, const char* value);

// A long option's help: its value's name and a tab, if it takes one, then
// its lines, indented under the first in the help; null for the hidden one.
using LongOption = ui::OptionRow<Take>;

// A row's value count for every element up to the next option, one at least;
// its action takes each in turn.
constexpr int kEveryValue = -1;

// In the order of the help output.
const LongOption kLongOptions[] = {
    {"--list", 0, "One line per device: number, path, series,\nmode, version, VID:PID, serial",
     [](LineRequest& r, const char*) -> const char* {
       r.action = LineAction::kList;
       return nullptr;
     }},
    {"--device", 1,
     "N|PATH [OPTION]\tAct on device N (from 1) or PATH; with an\noption above, run it; without, "
     "the menu",
     [](LineRequest& r, const char* value) -> const char* {
       r.device = value;
       return nullptr;
     }},
    {"--apply", 1, "PROFILE\tBring units to the profile, verify, record",
     [](LineRequest& r, const char* value) -> const char* {
       r.action = LineAction::kApply;
       r.profilePath = value;
       return nullptr;
     }},
    {"--all", 0, "With --apply: every listed device",
     [](LineRequest& r, const char*) -> const char* {
       r.all = true;
       return nullptr;
     }},
    {"--dry-run", 0, "With --apply: read and check only, show\nwhat would change",
     [](LineRequest& r, const char*) -> const char* {
       r.dryRun = true;
       return nullptr;
     }},
    {"--record", 1,
     "FILE\tWith --apply: the record (default\nbridgefw-record.jsonl beside the profile)",
     [](LineRequest& r, const char* value) -> const char* {
       r.recordPath = value;
       return nullptr;
     }},
    {"--json", 0, "With --apply, --list or --report: JSON",
     [](LineRequest& r, const char*) -> const char* {
       r.json = true;
       return nullptr;
     }},
    {"--watch", 0,
     "With --apply: a station, each unit as it\nis plugged in, until stopped (Ctrl-C)",
     [](LineRequest& r, const char*) -> const char* {
       r.watch = true;
       return nullptr;
     }},
    {"--jobs", 1, "N\tUnits at once, each in a worker process\n(--watch: 8, --all: 1)",
     [](LineRequest& r, const char* v) {
       return Number(v, 1, 64, &r.jobs, "--jobs takes 1 to 64");
     }},
    {"--poll", 1, "MS\tWith --watch: list devices every MS ms\n(250)",
     [](LineRequest& r, const char* v) {
       return Number(v, 10, 60000, &r.pollMs, "--poll takes 10 to 60000 (ms)");
     }},
    {"--units", 1, "N\tWith --watch: end after N units started",
     [](LineRequest& r, const char* v) {
       return Number(v, 1, 1000000, &r.units, "--units takes 1 to 1000000");
     }},
    {"--stop-after", 1, "N\tWith --watch: start no unit after N\nfailed in a row",
     [](LineRequest& r, const char* v) {
       return Number(v, 1, 1000000, &r.stopAfter, "--stop-after takes 1 to 1000000");
     }},
    {"--redo", 0, "With --watch: units already done too",
     [](LineRequest& r, const char*) -> const char* {
       r.redo = true;
       return nullptr;
     }},
    {"--bell", 0, "With --watch: ring on a failure",
     [](LineRequest& r, const char*) -> const char* {
       r.bell = true;
       return nullptr;
     }},
    // A station's worker: one unit, reporting to the station on its output.
    {"--worker", 0, nullptr,
     [](LineRequest& r, const char*) -> const char* {
       r.worker = true;
       return nullptr;
     }},
    {"--save-profile", 1, "FILE\tSave a unit's settings as a new profile",
     [](LineRequest& r, const char* value) -> const char* {
       r.action = LineAction::kSaveProfile;
       r.savePath = value;
       return nullptr;
     }},
    {"--report", kEveryValue,
     "RECORD...\tA shift report from records (needs no\nlibrary); status 1: a serial passed twice",
     [](LineRequest& r, const char* value) -> const char* {
       r.action = LineAction::kReport;
       r.records.push_back(value);
       return nullptr;
     }},
    {"--help", 0, "This help",
     [](LineRequest& r, const char*) -> const char* {
       r.action = LineAction::kHelp;
       return nullptr;
     }},
    {"--version", 0, "The tool's name and version",
     [](LineRequest& r, const char*) -> const char* {
       r.action = LineAction::kVersion;
       return nullptr;
     }},
};
constexpr std::size_t kLongOptionCount = sizeof kLongOptions / sizeof kLongOptions[0];

// What goes with what; "" when the combination is sound.
std::string Conflict(const LineRequest& r) {
  const bool apply = r.action == LineAction::kApply;
  if (r.classic != nullptr && r.action != LineAction::kNone) return "an option after a long option";
  if (r.action == LineAction::kNone && r.device == nullptr) return "nothing to do";
  if (!apply && (r.all || r.dryRun || r.recordPath != nullptr)) {
    return "--all, --dry-run and --record go with --apply";
  }
  if (r.json && !apply && r.action != LineAction::kList && r.action != LineAction::kReport) {
    return "--json goes with --apply, --list or --report";
  }
  if (r.all && r.device != nullptr) return "--all or --device, not both";
  const bool station = r.pollMs != 0 || r.units != 0 || r.stopAfter != 0 || r.redo || r.bell;
  if (station && !r.watch)
    return "--poll, --units, --stop-after, --redo and --bell go with --watch";
  if (r.watch && (!apply || r.device != nullptr || r.all || r.dryRun || r.worker)) {
    return "--watch goes with --apply alone: it serves every unit plugged in";
  }
  if (r.jobs != 0 && !r.watch && !r.all) return "--jobs goes with --watch or --all";
  if (r.worker && (!apply || r.device == nullptr || r.json || r.dryRun)) {
    return "--worker goes with --apply and --device";
  }
  if (r.device != nullptr && r.action != LineAction::kNone && !apply &&
      r.action != LineAction::kSaveProfile) {
    return "--device does not go with this option";
  }
  return "";
}

bool IsLong(const char* argument) { return std::strncmp(argument, "--", 2) == 0; }

// The elements from `argv` up to the end or the next option.
int ValuesBeforeOption(const char* const* argv) {
  int count = 0;
  while (argv[count] != nullptr && argv[count][0] != '-') ++count;
  return count;
}

// One option and its values at argv[*at]; moves *at past them.
bool TakeOption(const char* const* argv, int* at, bool (&seen)[kLongOptionCount],
                LineRequest* request, std::string* why) {
  const char* name = argv[*at];
  const LongOption* option =
      ui::FindOptionRow(kLongOptions, kLongOptionCount,
                        [name](const char* row) { return std::strcmp(row, name) == 0; });
  const std::string given = name;
  if (option == nullptr) {
    *why = "Unknown option " + given;
    return false;
  }
  if (seen[option - kLongOptions]) *why = given + " given twice";
  const int values =
      option->values == kEveryValue ? ValuesBeforeOption(argv + *at + 1) : option->values;
  if (option->values == kEveryValue && values == 0) *why = given + " needs a value";
  for (int value = 1; why->empty() && value <= values; ++value) {
    if (argv[*at + value] == nullptr) *why = given + " needs a value";
  }
  if (!why->empty()) return false;
  seen[option - kLongOptions] = true;
  const LineAction before = request->action;
  for (int value = 1; value <= (values > 0 ? values : 1); ++value) {
    const char* refused = option->action(*request, values > 0 ? argv[*at + value] : nullptr);
    if (refused != nullptr) {
      *why = refused;
      return false;
    }
  }
  if (before != LineAction::kNone && request->action != before) {
    *why = given + ": one of --list, --apply, --save-profile, --report, --help, --version";
    return false;
  }
  *at += 1 + values;
  return true;
}

}  // namespace

bool IsLongOptionRun(const char* const* argv) {
  return argv != nullptr && argv[0] != nullptr && argv[1] != nullptr && IsLong(argv[1]);
}

bool ParseLongOptions(const char* const* argv, LineRequest* request, std::string* why) {
  *request = LineRequest();
  why->clear();
  for (int at = 1; argv[at] != nullptr && IsLong(argv[at]); ++at) {
    if (std::strcmp(argv[at], "--help") == 0) {
      request->action = LineAction::kHelp;
      return true;
    }
  }
  bool seen[kLongOptionCount] = {};
  int at = 1;
  while (argv[at] != nullptr && IsLong(argv[at])) {
    if (!TakeOption(argv, &at, seen, request, why)) return false;
  }
  if (argv[at] != nullptr) request->classic = argv + at;
  *why = Conflict(*request);
  return why->empty();
}

std::string LongOptionsHelp() {
  std::string help;
  for (const LongOption& option : kLongOptions) {
    const char* text = option.help;
    if (text == nullptr) continue;
    const char* tab = std::strchr(text, '\t');
    std::string left = std::string(" ") + option.name;
    if (tab != nullptr) left += " " + std::string(text, tab);
    left.resize(35, ' ');
    help += left + ": ";
    for (const char* line = tab != nullptr ? tab + 1 : text; *line != '\0';) {
      const char* end = std::strchr(line, '\n');
      help += std::string(line, end != nullptr ? end : line + std::strlen(line)) + "\n";
      if (end == nullptr) break;
      line = end + 1;
      help += std::string(37, ' ');
    }
  }
  return help;
}

}  // namespace line
