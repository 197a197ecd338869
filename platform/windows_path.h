// Windows only: the tool keeps every path as UTF-8 text; the system's wide
// functions take them converted here.
#pragma once

#include <string>

namespace platform {

// A UTF-8 path as the wide text CreateFileW and its kin take.
std::wstring WindowsPath(const std::string& utf8);

// Wide text from the system as UTF-8.
std::string Utf8Text(const std::wstring& wide);

}  // namespace platform
