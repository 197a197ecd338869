#include "platform/windows_path.h"

#include <windows.h>

#include <cwchar>

namespace platform {

std::wstring WindowsPath(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
  }
  return wide;
}

std::string Utf8Text(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size,
                        nullptr, nullptr);
  }
  return utf8;
}

namespace {

const wchar_t kExtended[] = L"\\\\?\\";
const wchar_t kExtendedUnc[] = L"\\\\?\\UNC\\";
const wchar_t kDevice[] = L"\\\\.\\";
constexpr std::size_t kLongestPath = 32767;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

}  // namespace

std::wstring ExtendedWindowsPath(const std::string& utf8) {
  const std::wstring wide = WindowsPath(utf8);
  if (StartsWith(wide, kExtended) || StartsWith(wide, kDevice)) return wide;
  if (wide.empty()) {
    // What CreateFileW says of it; GetFullPathNameW may say nothing.
    SetLastError(ERROR_PATH_NOT_FOUND);
    return wide;
  }
  std::wstring full(MAX_PATH, L'\0');
  DWORD size = GetFullPathNameW(wide.c_str(), MAX_PATH, &full[0], nullptr);
  if (size > MAX_PATH && size <= kLongestPath) {
    full.assign(size, L'\0');
    size = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
  }
  if (size == 0) return std::wstring();
  full.resize(size < full.size() ? size : 0);
  if (StartsWith(full, kDevice)) return full;
  const bool unc = StartsWith(full, L"\\\\");
  std::wstring extended = unc ? kExtendedUnc + full.substr(2) : kExtended + full;
  if (full.empty() || extended.size() > kLongestPath) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return std::wstring();
  }
  return extended;
}

std::wstring OrdinaryWindowsPath(const std::wstring& path) {
  // Only a drive's path has an ordinary form; \\?\Volume{...}\ has none.
  const bool drive = StartsWith(path, kExtended) && path.size() > 5 && path[5] == L':';
  const std::wstring ordinary = StartsWith(path, kExtendedUnc) ? L"\\\\" + path.substr(8)
                                : drive                        ? path.substr(4)
                                                               : path;
  return ordinary.size() < MAX_PATH ? ordinary : path;
}

}  // namespace platform
