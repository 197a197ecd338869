#include "app/close_prompt.h"

#include "runtime/console.h"

namespace app {

bool ShouldWaitForEnter(const ConsoleFacts& facts, bool menuExitChosen) {
  return facts.inputIsConsole && facts.outputIsConsole && facts.processCount == 1 &&
         !menuExitChosen;
}

void HoldOwnConsoleWindow(bool menuExitChosen) {
  if (!ShouldWaitForEnter(QueryConsoleFacts(), menuExitChosen)) return;
  runtime::ConsolePrint("Press Enter to close this window.\n");
  runtime::ConsoleWaitForEnter();
}

}  // namespace app
