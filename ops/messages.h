// Messages the operations print, and the guard every operation starts with.
#pragma once

constexpr const char* kInputParameterError = "Input parameter error! \n";

void PrintInputParameterError();

// True when a device is listed and the operation's own input test passed;
// otherwise prints the parameter error (the operation then calls nothing).
bool OperationAccepted(bool inputValid = true);
