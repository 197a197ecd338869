#include "line/request.h"

#include <cstring>

#include "ui/option_row.h"

namespace {

using Take = void (*)(LineRequest& request, const char* value);

// A long option's help: its value's name and a tab, if it takes one, then
// its lines, indented under the first in the help.
using LongOption = OptionRow<Take>;

// A row's value count for every element up to the next option, one at least;
// its action takes each in turn.
constexpr int kEveryValue = -1;

// In the order of the help output.
const LongOption kLongOptions[] = {
    {"--list", 0, "One line per device: number, path, series,\nmode, version, VID:PID, serial",
     [](LineRequest& r, const char*) { r.action = LineAction::kList; }},
    {"--device", 1,
     "N|PATH [OPTION]\tAct on device N (from 1) or PATH; with an\noption above, run it; without, "
     "the menu",
     [](LineRequest& r, const char* value) { r.device = value; }},
    {"--apply", 1, "PROFILE\tBring units to the profile, verify, record",
     [](LineRequest& r, const char* value) {
       r.action = LineAction::kApply;
       r.profilePath = value;
     }},
    {"--all", 0, "With --apply: every listed device",
     [](LineRequest& r, const char*) { r.all = true; }},
    {"--dry-run", 0, "With --apply: read and check only, show\nwhat would change",
     [](LineRequest& r, const char*) { r.dryRun = true; }},
    {"--record", 1,
     "FILE\tWith --apply: the record (default\nbridgefw-record.jsonl beside the profile)",
     [](LineRequest& r, const char* value) { r.recordPath = value; }},
    {"--json", 0, "With --apply, --list or --report: JSON on output",
     [](LineRequest& r, const char*) { r.json = true; }},
    {"--save-profile", 1, "FILE\tSave a unit's settings as a new profile",
     [](LineRequest& r, const char* value) {
       r.action = LineAction::kSaveProfile;
       r.savePath = value;
     }},
    {"--report", kEveryValue,
     "RECORD...\tA shift report from records (needs no\nlibrary); status 1: a serial passed twice",
     [](LineRequest& r, const char* value) {
       r.action = LineAction::kReport;
       r.records.push_back(value);
     }},
    {"--help", 0, "This help", [](LineRequest& r, const char*) { r.action = LineAction::kHelp; }},
    {"--version", 0, "The tool's name and version",
     [](LineRequest& r, const char*) { r.action = LineAction::kVersion; }},
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
  const LongOption* option = FindOptionRow(kLongOptions, kLongOptionCount, [name](const char* row) {
    return std::strcmp(row, name) == 0;
  });
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
  option->action(*request, values > 0 ? argv[*at + 1] : nullptr);
  for (int value = 2; value <= values; ++value) option->action(*request, argv[*at + value]);
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
