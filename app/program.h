// One invocation: bind the library, list the devices, run one front end.
#pragma once

// Returns the exit status: always 0 for the help page's options and the menu,
// whose outcome is visible only in the printed text; the long options'
// status otherwise (line/long_options.h).
int RunProgram(const char* const* argv);
