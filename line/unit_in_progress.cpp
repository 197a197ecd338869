#include "line/unit_in_progress.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "line/exit_status.h"
#include "line/record.h"
#include "platform/stop_request.h"

namespace line {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kAbandonWindow = std::chrono::seconds(5);

// The unit's record line is written under Guard, by the run or by the stop
// watcher, never by both.
std::mutex Guard;
std::string PendingPath;
std::string PendingLine;
bool Pending = false;

std::atomic<bool> Stopped{false};
std::atomic<bool> Abandoning{false};
bool Notices = false;
bool AbandonHere = true;
// The stop watcher's own.
bool FirstSeen = false;
Clock::time_point FirstAt;

void Say(const char* text) {
  if (!Notices) return;
  std::fputs(text, stdout);
  std::fflush(stdout);
}

[[noreturn]] void Abandon() {
  std::lock_guard<std::mutex> hold(Guard);
  std::string why;
  bool endedTail = false;
  if (Pending && !PendingPath.empty() &&
      !AppendRecordLine(PendingPath, PendingLine, "", &endedTail, &why)) {
    Say(("Record not written: " + why + "\n").c_str());
  }
  Say(Pending && !PendingPath.empty()
          ? "Abandoned: the unit in progress is recorded as failed, interrupted\n"
          : "Abandoned\n");
  std::fflush(stdout);
  std::_Exit(kLineUnitFailed);
}

void OnStopRequest(int requests) {
  const Clock::time_point now = Clock::now();
  if (requests > 1 && (!FirstSeen || now - FirstAt <= kAbandonWindow)) {
    if (AbandonHere) Abandon();
    Abandoning = true;
    return;
  }
  FirstSeen = true;
  FirstAt = now;
  Stopped = true;
  Say(AbandonHere ? "Stopping: the unit in progress finishes, no further unit starts "
                    "(stop again within 5 s to abandon it: a bridge cut off while programming "
                    "may not start again)\n"
                  : "Stopping: the units in progress finish, no further unit starts (stop again "
                    "within 5 s to abandon them: a bridge cut off while programming may not "
                    "start again)\n");
}

}  // namespace

void WatchLineStops(bool notices, bool abandonHere) {
  Notices = notices;
  AbandonHere = abandonHere;
  platform::WatchStopRequests(OnStopRequest);
}

bool LineStopRequested() { return Stopped; }

bool LineAbandonRequested() { return Abandoning; }

void SetAbandonRecord(const std::string& recordPath, const std::string& line) {
  std::lock_guard<std::mutex> hold(Guard);
  PendingPath = recordPath;
  PendingLine = line;
  Pending = true;
}

bool WriteUnitRecord(const std::string& recordPath, const std::string& line,
                     const std::string& passedSerial, bool* endedTail, std::string* why) {
  std::lock_guard<std::mutex> hold(Guard);
  Pending = false;
  return AppendRecordLine(recordPath, line, passedSerial, endedTail, why);
}

}  // namespace line
