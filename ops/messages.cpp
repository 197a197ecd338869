#include "ops/messages.h"

#include "runtime/console.h"

void PrintInputParameterError() { ConsolePrint("%s", kInputParameterError); }

bool OperationAccepted(const char* device, bool inputValid) {
  if (device != nullptr && inputValid) return true;
  PrintInputParameterError();
  return false;
}
