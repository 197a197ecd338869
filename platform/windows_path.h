// Windows only: the tool keeps every path as UTF-8 text; the system's wide
// functions take them converted here.
#pragma once

#include <string>

namespace platform {

// A UTF-8 path as the wide text CreateFileW and its kin take.
std::wstring WindowsPath(const std::string& utf8);

// Wide text from the system as UTF-8.
std::string Utf8Text(const std::wstring& wide);

// A UTF-8 path made absolute (GetFullPathNameW) in the \\?\ form, which no
// 260-character limit applies to (\\?\UNC\server\share for a share); a
// device path (\\.\) is kept. Empty, the last error set, when the system
// cannot make it absolute or the result is longer than any path may be.
std::wstring ExtendedWindowsPath(const std::string& utf8);

// A path the system gave in the \\?\ form as its ordinary one (a share's
// \\?\UNC\ back to \\), where that stays within 260 characters; else as
// given.
std::wstring OrdinaryWindowsPath(const std::wstring& path);

}  // namespace platform
