// What the tool's console is: whether its standard streams are the console and
// how many processes share that console.
#pragma once

struct ConsoleFacts {
  bool inputIsConsole = false;
  bool outputIsConsole = false;
  unsigned long processCount = 0;  // 0 when the process has no console
};

// On Windows from the console calls; elsewhere there is never a window of the
// tool's own, and the facts say so (no console).
ConsoleFacts QueryConsoleFacts();
