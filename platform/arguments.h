// The program's arguments as UTF-8 text, as the tool keeps paths. One
// implementation per system (arguments_posix.cpp, arguments_windows.cpp).
#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments, its name first, as UTF-8. Windows reads them anew
// from the wide command line (CommandLineToArgvW): the C runtime's argv holds
// them in the ANSI code page, which lacks most of the world's characters.
// Elsewhere, and where the two do not count the same arguments, argv's own.
std::vector<std::string> Utf8Arguments(const char* const* argv);

}  // namespace platform
