#include "line/reporter.h"
#include "runtime/console.h"

namespace line {

namespace {

void Send(const Json& event) {
  runtime::ConsolePrint("%s\n", event.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
  runtime::ConsoleFlush();
}

void SendStep(const Run&, const Unit& unit, const StepReport& step) {
  Json event = {{"event", "step"}, {"label", step.label}, {"passed", step.passed}};
  if (!unit.serial.empty()) event["serial"] = unit.serial;
  Send(event);
}

// The record line as the station needs it: whether it is filed, and the line.
void SendRecorded(const std::string& recordLine, bool written) {
  Send({{"event", "done"}, {"written", written}, {"record", ParsedJson(recordLine)}});
}

}  // namespace

const Reporter kWorkerReporter = {
    SendStep,
    [](const Run&, const std::vector<std::string>&) {},
    [](const Run&, const Unit&, const std::string&) {},
    SendRecorded,
    [](const std::string&) {},
    [](const Run&, const RunTally&) {},
};

}  // namespace line
