// Keeps a console window of the tool's own open until its user has read it.
#pragma once

#include "platform/console_window.h"

namespace app {

// True when the tool runs alone in a console window that closes with it (the
// elevation prompt starts it so from Explorer or the Run box) and both
// standard streams are that console. The menu's Exit needs no wait.
bool ShouldWaitForEnter(const ConsoleFacts& facts, bool menuExitChosen);

// Prints the last line and waits for Enter (or the end of input) when
// ShouldWaitForEnter says so; otherwise does nothing.
void HoldOwnConsoleWindow(bool menuExitChosen);

}  // namespace app
