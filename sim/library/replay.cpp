#include "sim/library/replay.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "callrecord/session_lines.h"
#include "platform/files.h"
#include "sim/bridge/decimal.h"

namespace sim {

namespace {

using callrecord::RecordedCall;
using callrecord::SessionLine;
using callrecord::SessionLineParts;

// The run of a session that this process replays. The session is read a line
// at a time, never held: at the first call once through, to find the run and
// check its calls, and then, call by call, up to the next one of the run.
class ReplayRun {
 public:
  ReplayRun() {
    const std::string spec = KnobText(kReplayVariable);
    active_ = !spec.empty();
    if (active_) Load(spec);
  }
  // At unload: a run that ended early is reported like one that strayed.
  ~ReplayRun() {
    try {
      if (active_ && !reported_ && !failure_.empty()) {
        Note(failure_ + "; no call was made");
      } else if (const RecordedCall* next = active_ && !reported_ ? Expected() : nullptr) {
        Note("the run ended after " + std::to_string(next_) + " calls, before line " +
             std::to_string(expectedLine_) + ", which expects " + next->written + " (" +
             std::to_string(total_ - next_) + " recorded calls not made)");
      }
    } catch (...) {
    }
    if (file_ != nullptr) std::fclose(file_);
  }
  ReplayRun(const ReplayRun&) = delete;
  ReplayRun& operator=(const ReplayRun&) = delete;

  bool Active() const { return active_; }
  const RecordedCall* Expected() {
    if (reported_ || !failure_.empty() || next_ >= total_) return nullptr;
    return loaded_ || ReadNextCall() ? &expected_ : nullptr;
  }
  void Matched() {
    ++next_;
    loaded_ = false;
  }
  void Strayed(const std::string& made) {
    if (reported_) return;
    const std::string call = "call " + std::to_string(next_ + 1) + " " + made;
    if (!failure_.empty()) {
      Note(failure_ + "; " + call + " and every later call return 0");
    } else if (const RecordedCall* expected = Expected()) {
      Note(call + " strays from line " + std::to_string(expectedLine_) + ", which expects " +
           expected->written + "; it and every later call return 0");
    } else {
      Note(call + " goes past the end of the recorded run (" + std::to_string(total_) +
           " calls); it and every later call return 0");
    }
    reported_ = true;
  }

 private:
  void Note(const std::string& text) { AppendTrace("replay: " + source_ + ": " + text + "\n"); }

  // Whether a line belongs to the run: one with the run's id, or, in the
  // older form without ids, one below the run's own run line.
  bool Own(const SessionLineParts& line) const {
    return line.run.empty() ? underRunLine_ : !runId_.empty() && line.run == runId_;
  }

  // The call of an own line, or why it cannot be read.
  bool ReadCall(const SessionLineParts& line, RecordedCall* call, std::string* why) const {
    if (reader_->tooLong()) {
      *why = "longer than " + std::to_string(callrecord::kMaxSessionLine) + " bytes";
      return false;
    }
    if (line.kind == SessionLine::kBad) {
      *why = callrecord::kSessionLineForm;
      return false;
    }
    return callrecord::ParseCall(std::string(line.call), call, why);
  }

  // FILE or FILE#N: the N-th run line of FILE and the calls of its run.
  void Load(const std::string& spec) {
    std::string path = spec;
    std::string wanted = "1";
    const std::size_t hash = spec.rfind('#');
    if (hash != std::string::npos && hash + 1 < spec.size() &&
        spec.find_first_not_of("0123456789", hash + 1) == std::string::npos) {
      path = spec.substr(0, hash);
      wanted = spec.substr(hash + 1);
    }
    source_ = path + "#" + wanted;
    std::string error;
    bool missing = false;
    file_ = platform::OpenRegularFile(path, &error, platform::FileAccess::kRead, &missing);
    if (file_ == nullptr) {
      failure_ = missing ? "no such file" : "cannot read it: " + error;
      return;
    }
    reader_.emplace(file_);
    // Run numbers of any length: one too large to count to is simply not there.
    const std::string digits =
        wanted.substr(std::min(wanted.find_first_not_of('0'), wanted.size()));
    const uint64_t number = digits.empty()       ? 0
                            : digits.size() > 19 ? UINT64_MAX
                                                 : std::stoull(digits);
    uint64_t runs = 0;
    uint64_t runOffset = 0;
    uint64_t runLine = 0;
    std::string_view text;
    while (failure_.empty() && reader_->Next(&text)) {
      const SessionLineParts line = callrecord::SplitSessionLine(text);
      const auto where = [this] { return "line " + std::to_string(reader_->lineNumber()); };
      if (line.kind == SessionLine::kRun) {
        // A run without an id ends at the next run line, one with an id at
        // another run line of the same id (a session appended to itself).
        if (number > 0 && runs >= number && (runId_.empty() || line.run == runId_)) break;
        underRunLine_ = ++runs == number;
        if (!underRunLine_) continue;
        runId_ = std::string(line.run);
        runOffset = reader_->offset();
        runLine = reader_->lineNumber();
      } else if (line.kind == SessionLine::kCall && line.run.empty() && runs == 0) {
        failure_ = where() + " is a call before any run line";
      } else if (line.kind != SessionLine::kNote && Own(line)) {
        RecordedCall call;
        if (!ReadCall(line, &call, &error)) failure_ = where() + ": " + error;
        ++total_;
      }
    }
    if (failure_.empty() && reader_->failed()) failure_ = "cannot read it";
    if (failure_.empty() && (runs < number || number == 0)) {
      failure_ = "there is no run " + wanted + " (the file holds " + std::to_string(runs) + ")";
    }
    underRunLine_ = true;
    if (failure_.empty() && !reader_->Return(runOffset, runLine)) failure_ = "cannot read it";
  }

  // Reads on to the run's next call.
  bool ReadNextCall() {
    std::string_view text;
    std::string why;
    while (reader_->Next(&text)) {
      const SessionLineParts line = callrecord::SplitSessionLine(text);
      if (line.kind == SessionLine::kRun) underRunLine_ = false;
      if (line.kind == SessionLine::kRun || line.kind == SessionLine::kNote || !Own(line)) continue;
      expectedLine_ = reader_->lineNumber();
      loaded_ = ReadCall(line, &expected_, &why);
      return loaded_;  // a line that no longer reads: the file changed meanwhile
    }
    return false;
  }

  bool active_ = false;
  bool reported_ = false;
  std::string source_;
  std::string failure_;
  std::FILE* file_ = nullptr;
  std::optional<callrecord::SessionReader> reader_;  // once the file is open
  std::string runId_;                                // empty for a run in the older form
  bool underRunLine_ = false;                        // no other run line since the run's own
  uint64_t total_ = 0;                               // the run's calls
  uint64_t next_ = 0;                                // calls matched so far
  bool loaded_ = false;                              // expected_ is the call at next_
  RecordedCall expected_;
  uint64_t expectedLine_ = 0;
};

ReplayRun& TheRun() {
  static ReplayRun run;
  return run;
}

}  // namespace

bool Replaying() { return TheRun().Active(); }
const RecordedCall* ReplayExpected() { return TheRun().Expected(); }
void ReplayMatched() { TheRun().Matched(); }
void ReplayStrayed(const std::string& made) { TheRun().Strayed(made); }

}  // namespace sim
