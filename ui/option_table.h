// The command line's options, one row each: the row drives recognition,
// dispatch and the help page alike.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/option_row.h"

namespace ui {

// device: the device the option acts on; argv: the whole argument vector
// (element 2 onwards are the values); resultText: the zeroed 80-byte text
// buffer of RunCommandLine.
using OptionHandler = int32_t (*)(const char* device, const char* const* argv, char* resultText);

// Its name: the letters after the dash, lower case ("gvd" for -gvd). Only
// these are compared, so "h" takes -help and "sv" takes -svx. Its values: 1
// for most, 2 for -sn; -ue reads its own list and counts 0 here.
using CommandLineOption = OptionRow<OptionHandler>;

extern const CommandLineOption kCommandLineOptions[];
extern const std::size_t kCommandLineOptionCount;

extern const char* const kHelpRule;
extern const char* const kHelpHeader;

// Asks the library for its version and prints the page. Returns 1.
int32_t PrintHelpPage();

constexpr const char* kPleaseInputParameter = "Please input parameter.\n";

// The update options' handlers (cli_updates.cpp).
int32_t RunUpdateFromBin(const char* device, const char* const* argv, char* resultText);
int32_t RunUpdateNoCustomizedSetting(const char* device, const char* const* argv, char* resultText);
int32_t RunUpdateWithCustomizedSetting(const char* device, const char* const* argv,
                                       char* resultText);

}  // namespace ui
