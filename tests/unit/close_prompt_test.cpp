// The window of the tool's own waits; every other start returns at once.
#include "app/close_prompt.h"

#include <gtest/gtest.h>

#include "runtime/console.h"
#include "tests/fake/console_capture.h"

TEST(ClosePrompt, OnlyALoneConsoleWindowWaitsAndNotAfterExit) {
  for (int in = 0; in < 2; ++in) {
    for (int out = 0; out < 2; ++out) {
      for (unsigned long count = 0; count < 4; ++count) {
        for (int exit = 0; exit < 2; ++exit) {
          const bool alone = in && out && count == 1 && !exit;
          EXPECT_EQ(app::ShouldWaitForEnter({in != 0, out != 0, count}, exit != 0), alone)
              << in << out << count << exit;
        }
      }
    }
  }
}

// The rest of the line a menu answer was read from is not the wait's Enter.
TEST(ClosePrompt, WaitSkipsTheAnswersLineAndTakesTheNext) {
  for (const char* input : {"14 Maker\nnext\nafter", "14\nnext\nafter"}) {
    ConsoleCapture capture(input);
    char word[8];
    ASSERT_EQ(runtime::ConsoleReadWord(word, sizeof word), runtime::WordRead::kRead);
    runtime::ConsoleWaitForEnter();
    ASSERT_EQ(runtime::ConsoleReadWord(word, sizeof word), runtime::WordRead::kRead);
    EXPECT_STREQ(word, "after") << input;
  }
}
