#include "ops/messages.h"

#include "runtime/console.h"

namespace ops {

void PrintInputParameterError() { runtime::ConsolePrint("%s", kInputParameterError); }

bool NonEmpty(const char* text) { return text != nullptr && text[0] != '\0'; }

bool OperationAccepted(const char* device, bool inputValid) {
  if (device != nullptr && inputValid) return true;
  PrintInputParameterError();
  return false;
}

}  // namespace ops
