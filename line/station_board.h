// What a station shows. On a terminal, a board redrawn in place: one row per
// slot (the running unit's path, step, time and serial, then PASS or FAIL
// large enough to see from a metre away) and a tally. Otherwise (a pipe, a
// log file) plain lines, one per event, stable for scripts.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace line::station {

struct BoardRow {
  std::string path;
  std::string step;
  std::string serial;
  std::chrono::steady_clock::time_point start;
  enum class State { kFree, kRunning, kPassed, kFailed } state = State::kFree;
};

struct BoardTally {
  int units = 0;
  int passed = 0;
  int failed = 0;
  double hours = 0;
};

class StationBoard {
 public:
  // `redraw`: a terminal; `colour`: it takes colours (NO_COLOR unset);
  // `silent`: the output is the record lines alone (--json).
  StationBoard(int slots, bool redraw, bool colour, bool bell, bool silent);
  BoardRow& Row(int slot) { return rows_[static_cast<size_t>(slot)]; }
  // One event: a plain line, or (on a terminal) a line above the board.
  void Event(const std::string& line, bool failure = false);
  void Draw(const BoardTally& tally);

 private:
  std::string RowText(int slot) const;
  std::vector<BoardRow> rows_;
  bool redraw_;
  bool colour_;
  bool bell_;
  bool silent_;
  int drawnLines_ = 0;
};

// The tally line: units, passed, failed, yield, units per hour.
std::string TallyText(const BoardTally& tally);

}  // namespace line::station
