// The command line's help page.
#pragma once

#include <cstdint>

constexpr int kHelpLineCount = 30;

extern const char* const kHelpRule;
extern const char* const kHelpLines[kHelpLineCount];

// Asks the library for its version and prints the 35-line page. Returns 1.
int32_t PrintHelpPage();
