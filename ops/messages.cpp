#include "ops/messages.h"

#include "app/console.h"
#include "app/device_list.h"

void PrintInputParameterError() { ConsolePrint("%s", kInputParameterError); }

bool OperationAccepted(bool inputValid) {
  if (deviceCount > 0 && inputValid) return true;
  PrintInputParameterError();
  return false;
}
