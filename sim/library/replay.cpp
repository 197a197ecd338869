#include "sim/library/replay.h"

#include <cstdint>
#include <vector>

#include "callrecord/session_lines.h"
#include "platform/files.h"
#include "platform/process.h"

namespace sim {

namespace {

using callrecord::RecordedCall;
using callrecord::SessionLine;

// The run of a session that this process replays, read at its first call.
class ReplayRun {
 public:
  ReplayRun() {
    const std::string spec = platform::EnvironmentText(kReplayVariable, &active_);
    if (active_) Load(spec);
  }
  // At unload: a run that ended early is reported like one that strayed.
  ~ReplayRun() {
    if (!active_ || reported_) return;
    try {
      if (!failure_.empty()) {
        Note(failure_ + "; no call was made");
      } else if (next_ < calls_.size()) {
        Note("the run ended after " + std::to_string(next_) + " calls, before line " +
             std::to_string(lines_[next_]) + ", which expects " + calls_[next_].written + " (" +
             std::to_string(calls_.size() - next_) + " recorded calls not made)");
      }
    } catch (...) {
    }
  }
  ReplayRun(const ReplayRun&) = delete;
  ReplayRun& operator=(const ReplayRun&) = delete;

  bool Active() const { return active_; }
  const RecordedCall* Expected() const {
    return reported_ || !failure_.empty() || next_ >= calls_.size() ? nullptr : &calls_[next_];
  }
  void Matched() { ++next_; }
  void Strayed(const std::string& made) {
    if (reported_) return;
    const std::string call = "call " + std::to_string(next_ + 1) + " " + made;
    if (!failure_.empty()) {
      Note(failure_ + "; " + call + " and every later call return 0");
    } else if (next_ >= calls_.size()) {
      Note(call + " goes past the end of the recorded run (" + std::to_string(calls_.size()) +
           " calls); it and every later call return 0");
    } else {
      Note(call + " strays from line " + std::to_string(lines_[next_]) + ", which expects " +
           calls_[next_].written + "; it and every later call return 0");
    }
    reported_ = true;
  }

 private:
  void Note(const std::string& text) { AppendTrace("replay: " + source_ + ": " + text + "\n"); }

  // FILE or FILE#N: the N-th run line of FILE and the calls after it.
  void Load(const std::string& spec) {
    std::string path = spec;
    int wanted = 1;
    const std::size_t hash = spec.rfind('#');
    const std::string digits = hash == std::string::npos ? "" : spec.substr(hash + 1);
    if (!digits.empty() && digits.size() <= 6 &&
        digits.find_first_not_of("0123456789") == std::string::npos) {
      path = spec.substr(0, hash);
      wanted = std::stoi(digits);
    }
    source_ = path + "#" + std::to_string(wanted);
    std::string text;
    std::string error;
    bool missing = false;
    if (!platform::ReadFileText(path, &text, &missing, &error)) {
      failure_ = missing ? "no such file" : "cannot read it: " + error;
      return;
    }
    int run = 0;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size() && run <= wanted; ++lineNumber) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      RecordedCall call;
      switch (callrecord::ParseSessionLine(line, &call, &error)) {
        case SessionLine::kNote:
          break;
        case SessionLine::kRun:
          ++run;
          break;
        case SessionLine::kCall:
          if (run == 0) {
            failure_ = "line " + std::to_string(lineNumber + 1) + " is a call before any run line";
            return;
          }
          if (run == wanted) {
            calls_.push_back(call);
            lines_.push_back(lineNumber + 1);
          }
          break;
        case SessionLine::kBad:
          if (run != wanted) break;
          failure_ = "line " + std::to_string(lineNumber + 1) + ": " + error;
          return;
      }
    }
    if (run < wanted || wanted == 0) {
      failure_ = "there is no run " + std::to_string(wanted) + " (the file holds " +
                 std::to_string(run) + ")";
    }
  }

  bool active_ = false;
  bool reported_ = false;
  std::string source_;
  std::string failure_;
  std::vector<RecordedCall> calls_;
  std::vector<int> lines_;
  std::size_t next_ = 0;
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
