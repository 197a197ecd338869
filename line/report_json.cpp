#include "line/reporter.h"
#include "runtime/console.h"

namespace line {

namespace {

// The record lines only: standard output stays JSON Lines.
void PrintRecordLine(const Run&, const Unit&, const std::string& recordLine) {
  runtime::ConsolePrint("%s\n", recordLine.c_str());
  runtime::ConsoleFlush();
}

}  // namespace

const Reporter kJsonReporter = {
    [](const Run&, const Unit&, const StepReport&) {},
    [](const Run&, const std::vector<std::string>&) {},
    PrintRecordLine,
    [](const std::string&, bool) {},
    [](const std::string&) {},
    [](const Run&, const RunTally&) {},
};

}  // namespace line
