// One invocation: bind the library, list the devices, run one front end.
#pragma once

// Always returns 0: the outcome is visible only in the printed text.
int RunProgram(const char* const* argv);
