#include <windows.h>

#include "platform/console_window.h"

ConsoleFacts QueryConsoleFacts() {
  ConsoleFacts facts;
  DWORD mode = 0;
  // GetConsoleMode succeeds only for a console handle, not a file or pipe.
  facts.inputIsConsole = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
  facts.outputIsConsole = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
  // A list too small for all processes still returns their number.
  DWORD processes[2];
  facts.processCount = GetConsoleProcessList(processes, 2);
  return facts;
}
