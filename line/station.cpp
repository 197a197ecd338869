#include "line/station.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "line/record.h"
#include "line/run_files.h"
#include "line/serial_counter.h"
#include "line/station_board.h"
#include "line/unit_in_progress.h"
#include "line/unit_reading.h"
#include "line/unit_record.h"
#include "platform/process.h"
#include "platform/worker_process.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "runtime/tool_version.h"
#include "sdk/api_table.h"

namespace line::station {

using runtime::ConsolePrint;
using runtime::DeviceList;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPumpMs = 20;  // how often the workers' reports are read

struct Worker {
  std::string path;
  int slot = 0;
  std::unique_ptr<platform::WorkerProcess> process;
  std::string pending;  // output not yet a whole line
  std::string lastStep;
  std::string serial;
  std::string time;
  Clock::time_point start;
  bool done = false;  // its record line is filed (or the worker said it could not be)
  bool passed = false;
  Json record;
};

struct Station {
  Station(const LineRun& served, int slots, StationBoard shown)
      : run(served), host(platform::HostName()), jobs(slots), board(std::move(shown)) {}
  const LineRun& run;
  RunFiles files;
  std::string program;
  std::string host;
  int jobs = 1;
  StationBoard board;
  std::vector<std::unique_ptr<Worker>> workers;
  std::map<std::string, bool> attached;  // paths seen and dealt with, while they stay listed
  BoardTally tally;
  int failsInRow = 0;
  bool startsNoMore = false;
  Clock::time_point began = Clock::now();
};

std::string UnitName(const std::string& path) { return ShownText(path); }

int FreeSlot(const Station& station) {
  std::set<int> used;
  for (const auto& worker : station.workers) used.insert(worker->slot);
  for (int slot = 0;; ++slot) {
    if (used.count(slot) == 0) return slot;
  }
}

void StopStarting(Station& station, const std::string& why) {
  if (station.startsNoMore) return;
  station.startsNoMore = true;
  station.board.Event("No further unit starts: " + why);
}

// A unit that carries a serial the record gives a passing unit is done.
bool AlreadyDone(Station& station, const std::string& path, std::string* serial) {
  char text[kLibraryTextSize] = {};
  if (ops::OpGetSerialNumber(path.c_str(), text) == 0 || text[0] == '\0') return false;
  *serial = text;
  bool passed = false;
  std::string why;
  return SerialPassedBefore(station.files.record, text, &passed, &why) && passed;
}

void Start(Station& station, const std::string& path) {
  const LineRun& run = station.run;
  std::string why;
  auto worker = std::make_unique<Worker>();
  worker->path = path;
  worker->slot = FreeSlot(station);
  worker->start = Clock::now();
  worker->time = platform::CurrentTimeText(0);
  worker->process =
      platform::WorkerProcess::Start(station.program,
                                     {"--apply", run.request.profilePath, "--device", path,
                                      "--record", station.files.record, "--worker"},
                                     &why);
  if (!worker->process) {
    StopStarting(station, why);
    return;
  }
  ++station.tally.units;
  BoardRow& row = station.board.Row(worker->slot);
  row = {path, "starting", "", worker->start, BoardRow::State::kRunning};
  station.board.Event(UnitName(path) + ": started in slot " + std::to_string(worker->slot + 1));
  station.workers.push_back(std::move(worker));
}

// One event of a worker's report.
void TakeEvent(Station& station, Worker& worker, const std::string& line) {
  const Json event = ParsedJson(line);
  if (!event.is_object()) return;  // not a report: the worker's own message
  BoardRow& row = station.board.Row(worker.slot);
  if (event.value("event", "") == "step") {
    worker.lastStep = event.value("label", "");
    worker.serial = event.value("serial", worker.serial);
    row.step = worker.lastStep;
    row.serial = worker.serial;
    return;
  }
  if (event.value("event", "") != "done") return;
  worker.done = event.value("written", false);
  worker.record = event.value("record", Json());
  worker.passed = worker.record.is_object() && worker.record.value("result", "") == "pass";
}

void ReadReports(Station& station, Worker& worker) {
  worker.process->ReadAvailable(&worker.pending);
  for (size_t end; (end = worker.pending.find('\n')) != std::string::npos;) {
    TakeEvent(station, worker, worker.pending.substr(0, end));
    worker.pending.erase(0, end + 1);
  }
}

// The record line of a unit whose worker filed none: it is never left out.
void RecordForWorker(Station& station, const Worker& worker, const std::string& why) {
  Json record = {{"time", worker.time},
                 {"tool", runtime::kToolVersion},
                 {"host", station.host},
                 {"path", worker.path},
                 {"profile", station.run.profile.path}};
  if (!worker.serial.empty()) record["serial"] = worker.serial;
  record["result"] = "fail";
  record["messages"] =
      Json::array({why + (worker.lastStep.empty() ? "" : " (after " + worker.lastStep + ")")});
  record["seconds"] =
      std::round(std::chrono::duration<double>(Clock::now() - worker.start).count() * 1000) / 1000;
  bool endedTail = false;
  std::string fault;
  const std::string line = RecordLine(record);
  if (!AppendRecordLine(station.files.record, line, "", &endedTail, &fault)) {
    station.board.Event("Record not written: " + fault, true);
  }
  if (station.run.request.json) ConsolePrint("%s\n", line.c_str());
}

void Finish(Station& station, Worker& worker) {
  if (!worker.done) RecordForWorker(station, worker, "worker ended without a result");
  if (station.run.request.json && worker.done) {
    ConsolePrint("%s\n", RecordLine(worker.record).c_str());
  }
  const bool passed = worker.done && worker.passed;
  station.tally.passed += passed ? 1 : 0;
  station.tally.failed += passed ? 0 : 1;
  station.failsInRow = passed ? 0 : station.failsInRow + 1;
  BoardRow& row = station.board.Row(worker.slot);
  row.state = passed ? BoardRow::State::kPassed : BoardRow::State::kFailed;
  std::string what = passed ? "PASS" : "FAIL";
  if (!passed && worker.record.is_object()) {
    what += " at " + worker.record.value("failed_step", std::string("?"));
    const std::string call = worker.record.value("failed_call", std::string());
    if (!call.empty()) what += ": " + call;
    const Json messages = worker.record.value("messages", Json::array());
    for (const Json& message : messages) {
      if (message.is_string() && message.get<std::string>().find("used up") != std::string::npos) {
        StopStarting(station, message.get<std::string>());
      }
    }
  }
  if (!worker.serial.empty()) what += " (" + worker.serial + ")";
  station.board.Event(UnitName(worker.path) + ": " + what + ", remove the unit", !passed);
  const int stopAfter = station.run.request.stopAfter;
  if (stopAfter > 0 && station.failsInRow >= stopAfter) {
    StopStarting(station, std::to_string(stopAfter) +
                              " units failed in a row: check the profile, "
                              "the image and the fixture");
  }
}

void Pump(Station& station) {
  for (size_t at = 0; at < station.workers.size();) {
    Worker& worker = *station.workers[at];
    ReadReports(station, worker);
    if (!worker.process->Ended()) {
      ++at;
      continue;
    }
    ReadReports(station, worker);  // what it wrote before it ended
    Finish(station, worker);
    station.workers.erase(station.workers.begin() + static_cast<long>(at));
  }
}

// A second stop request: the units in progress are cut off, and recorded so.
[[noreturn]] void Abandon(Station& station) {
  for (const auto& worker : station.workers) {
    worker->process->Kill();
    ReadReports(station, *worker);
    if (!worker->done) RecordForWorker(station, *worker, "interrupted");
  }
  station.board.Event("Abandoned: the units in progress are recorded as failed, interrupted");
  runtime::ConsoleFlush();
  std::_Exit(kLineUnitFailed);
}

bool Prepare(Station& station, std::string* why) {
  const LineRun& run = station.run;
  if (!platform::OwnExecutablePath(&station.program, why)) return false;
  if (!FindRunFiles(run.profile, run.request.recordPath, &station.files, why)) return false;
  return CheckRunFilesWritable(run.profile, station.files, why);
}

// The listed paths now.
std::vector<std::string> ListedPaths() {
  sdk::ApiTable.QZ_GetDeviceList(DeviceList, &runtime::deviceCount);
  return std::vector<std::string>(DeviceList, DeviceList + runtime::ListedDeviceCount());
}

bool Running(const Station& station, const std::string& path) {
  for (const auto& worker : station.workers) {
    if (worker->path == path) return true;
  }
  return false;
}

// Forgets units that left (a path that comes back is a new unit), and
// starts or sets aside the new ones while slots are free.
void Serve(Station& station, const std::vector<std::string>& paths) {
  for (auto it = station.attached.begin(); it != station.attached.end();) {
    const bool listed = std::find(paths.begin(), paths.end(), it->first) != paths.end();
    it = listed || Running(station, it->first) ? std::next(it) : station.attached.erase(it);
  }
  const LineRequest& request = station.run.request;
  for (const std::string& path : paths) {
    if (station.attached.count(path) != 0) continue;
    if (station.startsNoMore || LineStopRequested()) return;
    if (static_cast<int>(station.workers.size()) >= station.jobs) return;
    std::string serial;
    if (!request.redo && AlreadyDone(station, path, &serial)) {
      station.attached[path] = true;
      station.board.Event(UnitName(path) + ": already done (" + serial + "), remove the unit");
      continue;
    }
    station.attached[path] = true;
    Start(station, path);
    if (request.units > 0 && station.tally.units >= request.units) {
      StopStarting(station, std::to_string(request.units) + " units started");
    }
  }
}

// Until stopped (or, with a fixed list, until it is served), then the tally.
int Loop(Station& station, const std::vector<std::string>* fixed) {
  Clock::time_point listed = Clock::now() - std::chrono::hours(1);
  const auto poll =
      std::chrono::milliseconds(station.run.request.pollMs > 0 ? station.run.request.pollMs : 250);
  for (;;) {
    if (LineAbandonRequested()) Abandon(station);
    if (fixed != nullptr) {
      Serve(station, *fixed);
    } else if (Clock::now() - listed >= poll) {
      listed = Clock::now();
      Serve(station, ListedPaths());
    }
    Pump(station);
    station.tally.hours =
        std::chrono::duration<double>(Clock::now() - station.began).count() / 3600;
    station.board.Draw(station.tally);
    const bool served = fixed != nullptr && station.attached.size() == fixed->size();
    const bool ending = station.startsNoMore || LineStopRequested() || served;
    if (ending && station.workers.empty()) break;
    platform::SleepMilliseconds(kPumpMs);
  }
  station.board.Event(TallyText(station.tally));
  return station.tally.failed == 0 ? kLineAllPassed : kLineUnitFailed;
}

int RunWith(const LineRun& run, int jobs, const std::vector<std::string>* fixed) {
  const bool terminal = platform::OutputIsTerminal() && !run.request.json;
  const bool colour = terminal && platform::EnvironmentText("NO_COLOR").empty() &&
                      platform::EnableTerminalSequences();
  Station station(run, jobs,
                  StationBoard(jobs, terminal, colour, run.request.bell, run.request.json));
  std::string why;
  if (!Prepare(station, &why)) {
    ConsolePrint("%s\n", why.c_str());
    return kLineUsageError;
  }
  return Loop(station, fixed);
}

}  // namespace

int RunStation(const LineRun& run) {
  return RunWith(run, run.request.jobs > 0 ? run.request.jobs : 8, nullptr);
}

int ApplyInWorkers(const LineRun& run, const std::vector<int>& units) {
  std::vector<std::string> paths;
  paths.reserve(units.size());
  for (const int index : units) paths.emplace_back(DeviceList[index]);
  const int status = RunWith(run, run.request.jobs, &paths);
  const bool allServed = !LineStopRequested();
  return allServed ? status : kLineUnitFailed;
}

}  // namespace line::station
