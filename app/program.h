// One invocation: bind the library, list the devices, run one front end.
#pragma once

namespace app {

// Returns the exit status: always 0 for the help page's options and the menu,
// whose outcome is visible only in the printed text; the long options'
// status otherwise (line/long_options.h).
// The long options take their values (paths) from `utf8Argv`, the same
// arguments as UTF-8 (platform::Utf8Arguments; argv itself when null). The
// help page's options, first or after --device, read argv's own elements, as
// the library reads the paths they hand it.
int RunProgram(const char* const* argv, const char* const* utf8Argv = nullptr);

}  // namespace app
