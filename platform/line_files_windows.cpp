#include <windows.h>

#include <cstdio>

#include "platform/line_files.h"

namespace {

bool Failed(const char* what, const char* path, std::string* why) {
  const DWORD error = GetLastError();
  *why = std::string(what) + " " + path + ": system error " + std::to_string(error);
  return false;
}

bool WriteAll(HANDLE file, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    DWORD written = 0;
    const DWORD chunk =
        static_cast<DWORD>(text.size() - done > 1u << 20 ? 1u << 20 : text.size() - done);
    if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

HANDLE Open(const char* path, DWORD access, DWORD disposition) {
  return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ChangeOpenFile(HANDLE file, const char* path,
                    const std::function<bool(std::string& text)>& change, std::string* why) {
  OVERLAPPED whole = {};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    return Failed("cannot lock", path, why);
  }
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  bool changed = true;
  if (change(text)) {
    LARGE_INTEGER start = {};
    changed = SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAll(file, text) &&
              SetEndOfFile(file) && FlushFileBuffers(file);
    if (!changed) Failed("cannot write", path, why);
  }
  UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
  return changed;
}

}  // namespace

bool ChangeFileLocked(const char* path, const std::function<bool(std::string& text)>& change,
                      std::string* why) {
  const HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return Failed("cannot open", path, why);
  const bool changed = ChangeOpenFile(file, path, change, why);
  CloseHandle(file);
  return changed;
}

bool AppendDurably(const char* path, const std::string& text, std::string* why) {
  const HANDLE file = Open(path, FILE_APPEND_DATA, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return Failed("cannot open", path, why);
  const bool written = WriteAll(file, text) && FlushFileBuffers(file);
  if (!written) Failed("cannot write", path, why);
  CloseHandle(file);
  return written;
}

bool CreateNewFile(const char* path, const std::string& text, std::string* why) {
  const HANDLE file = Open(path, GENERIC_WRITE, CREATE_NEW);
  if (file == INVALID_HANDLE_VALUE) {
    return Failed(GetLastError() == ERROR_FILE_EXISTS ? "will not overwrite" : "cannot make", path,
                  why);
  }
  const bool written = WriteAll(file, text) && FlushFileBuffers(file);
  if (!written) Failed("cannot write", path, why);
  CloseHandle(file);
  return written;
}

std::string HostName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string UtcTimeText() {
  SYSTEMTIME now = {};
  GetSystemTime(&now);
  char text[32] = {};
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  return text;
}
