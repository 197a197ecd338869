// Messages the operations print, and the guard every operation starts with.
#pragma once

namespace ops {

constexpr const char* kInputParameterError = "Input parameter error! \n";

void PrintInputParameterError();

// True when a device is given and the operation's own input test passed;
// otherwise prints the parameter error (the operation then calls nothing).
bool OperationAccepted(const char* device, bool inputValid = true);

// The input test of the writers whose text may not be empty (nor missing).
bool NonEmpty(const char* text);

}  // namespace ops
