// The station's board on a terminal: rows redrawn in place, events above it.
#include "line/station_board.h"

#include <gtest/gtest.h>

#include "tests/fake/console_capture.h"

namespace {

using line::station::BoardRow;
using line::station::BoardTally;
using line::station::StationBoard;

std::string Shown(bool colour, bool bell, bool silent) {
  ConsoleCapture capture;
  StationBoard board(3, true, colour, bell, silent);
  board.Row(0) = {"sim0", "verifying", "LINE-0001", {}, BoardRow::State::kPassed};
  board.Row(1) = {"sim1", "writing", "LINE-0002", {}, BoardRow::State::kFailed};
  const BoardTally tally{2, 1, 1, 0};
  board.Draw(tally);
  board.Draw(tally);
  board.Event("sim1: FAIL", true);
  board.Draw(tally);
  return capture.Output();
}

TEST(StationBoardTest, RedrawnInPlaceWithEventsAbove) {
  const std::string rows =
      "[ 1]  sim0                 verifying                                LINE-0001"
      "              PASS  \n"
      "\x1b[2K[ 2]  sim1                 writing                                  LINE-0002"
      "              FAIL  \n"
      "\x1b[2K[ 3]  (free)\n"
      "\x1b[2K2 units: 1 passed, 1 failed, yield 50%, 0 units/h\n";
  EXPECT_EQ(Shown(false, true, false), "\x1b[2K" + rows + "\x1b[4A\x1b[2K" + rows +
                                           "\x1b[4A\x1b[Jsim1: FAIL\a\n\x1b[2K" + rows);
  const std::string coloured = Shown(true, false, false);
  EXPECT_NE(coloured.find("\x1b[1;7m  3 \x1b[0m  (free)\n"), std::string::npos) << coloured;
  EXPECT_NE(coloured.find("\x1b[1;37;41m  FAIL  \x1b[0m\n"), std::string::npos) << coloured;
  EXPECT_NE(coloured.find("sim1: FAIL\n"), std::string::npos) << coloured;
  EXPECT_EQ(Shown(false, true, true), "");  // --json: the record lines alone
}

}  // namespace
