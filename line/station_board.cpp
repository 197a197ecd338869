#include "line/station_board.h"

#include <cstdio>

#include "runtime/console.h"

namespace line::station {

using runtime::ConsolePrint;

namespace {

const char* const kReset = "\x1b[0m";

std::string Seconds(std::chrono::steady_clock::time_point start) {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f s",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return text;
}

}  // namespace

std::string TallyText(const BoardTally& tally) {
  char text[160];
  const double yield = tally.units > 0 ? 100.0 * tally.passed / tally.units : 0;
  const double perHour = tally.hours > 0 ? tally.units / tally.hours : 0;
  std::snprintf(text, sizeof text, "%d unit%s: %d passed, %d failed, yield %.0f%%, %.0f units/h",
                tally.units, tally.units == 1 ? "" : "s", tally.passed, tally.failed, yield,
                perHour);
  return text;
}

StationBoard::StationBoard(int slots, bool redraw, bool colour, bool bell, bool silent)
    : rows_(static_cast<size_t>(slots)),
      redraw_(redraw && !silent),
      colour_(colour),
      bell_(bell),
      silent_(silent) {}

void StationBoard::Event(const std::string& line, bool failure) {
  if (silent_) return;
  // On a terminal the board is cleared first, so the event stands above it.
  if (redraw_ && drawnLines_ > 0) ConsolePrint("\x1b[%dA\x1b[J", drawnLines_);
  drawnLines_ = 0;
  ConsolePrint("%s%s\n", line.c_str(), failure && bell_ ? "\a" : "");
  runtime::ConsoleFlush();
}

std::string StationBoard::RowText(int slot) const {
  const BoardRow& row = rows_[static_cast<size_t>(slot)];
  char number[48];
  // The slot's number large: bold, reversed.
  std::snprintf(number, sizeof number, colour_ ? "\x1b[1;7m %2d \x1b[0m" : "[%2d]", slot + 1);
  if (row.state == BoardRow::State::kFree) return std::string(number) + "  (free)";
  std::string mark;
  if (row.state == BoardRow::State::kPassed) {
    mark = colour_ ? std::string("\x1b[1;30;42m  PASS  ") + kReset : "  PASS  ";
  } else if (row.state == BoardRow::State::kFailed) {
    mark = colour_ ? std::string("\x1b[1;37;41m  FAIL  ") + kReset : "  FAIL  ";
  }
  const std::string time = row.state == BoardRow::State::kRunning ? Seconds(row.start) : "";
  char text[512];
  std::snprintf(text, sizeof text, "%s  %-20.20s %-30.30s %8s  %-20.20s %s", number,
                row.path.c_str(), row.step.c_str(), time.c_str(), row.serial.c_str(), mark.c_str());
  return text;
}

void StationBoard::Draw(const BoardTally& tally) {
  if (!redraw_) return;
  if (drawnLines_ > 0) ConsolePrint("\x1b[%dA", drawnLines_);
  for (size_t slot = 0; slot < rows_.size(); ++slot) {
    ConsolePrint("\x1b[2K%s\n", RowText(static_cast<int>(slot)).c_str());
  }
  ConsolePrint("\x1b[2K%s\n", TallyText(tally).c_str());
  drawnLines_ = static_cast<int>(rows_.size()) + 1;
  runtime::ConsoleFlush();
}

}  // namespace line::station
