#include "line/device_choice.h"
#include "line/reporter.h"
#include "runtime/console.h"

namespace line {

using runtime::ConsolePrint;

namespace {

void PrintStep(const Run&, const Unit& unit, const StepReport& step) {
  ConsolePrint("[%d/%d] %s: %s ... %s (%.1f s)\n", unit.ordinal, unit.total,
               ShownText(unit.path).c_str(), step.label, step.passed ? "PASS" : "FAIL",
               step.seconds);
  if (!unit.failedCall.empty()) ConsolePrint("  failed call: %s\n", unit.failedCall.c_str());
  for (const std::string& line : step.messages) ConsolePrint("  %s\n", line.c_str());
  runtime::ConsoleFlush();
}

void PrintUnitLines(const Run&, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) ConsolePrint("  %s\n", line.c_str());
}

// A dry run: what would change, field by field.
void PrintChanges(const Run& run, const Unit& unit, const std::string&) {
  if (!run.request.dryRun || unit.planned.is_null()) return;
  const Json before = ReadingJson(unit.before);
  for (auto field = before.begin(); field != before.end(); ++field) {
    const Json& planned = unit.planned[field.key()];
    if (*field == planned) continue;
    const auto text = [](const Json& value) {
      return ShownText(value.is_string() ? value.get<std::string>() : value.dump());
    };
    ConsolePrint("  %s: %s -> %s\n", field.key().c_str(), text(*field).c_str(),
                 planned == "" ? "(image)" : text(planned).c_str());
  }
}

void PrintNote(const std::string& line) { ConsolePrint("%s\n", line.c_str()); }

void PrintSummary(const Run& run, const RunTally& tally) {
  if (run.request.all) PrintListingLimit();
  const int unreached = tally.listed - tally.served;
  if (unreached > 0) {
    ConsolePrint("Stopped: %d listed unit%s not reached\n", unreached, unreached == 1 ? "" : "s");
  }
  ConsolePrint("%d unit%s: %d passed, %d failed\n", tally.served, tally.served == 1 ? "" : "s",
               tally.passed, tally.served - tally.passed);
  runtime::ConsoleFlush();
}

}  // namespace

const Reporter kTextReporter = {PrintStep,    PrintUnitLines,
                                PrintChanges, [](const std::string&, bool) {},
                                PrintNote,    PrintSummary};

}  // namespace line
