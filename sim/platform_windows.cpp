#include <windows.h>

#include <string>

#include "sim/platform_file.h"

namespace sim {
namespace {

std::string Reason(const std::string& what, const std::string& path) {
  return what + " " + path + " (error " + std::to_string(GetLastError()) + ")";
}

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

struct FileLock::Handle {
  HANDLE file = INVALID_HANDLE_VALUE;
};

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, bool exclusive,
                                            std::string* error) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot open lock file", path);
    return nullptr;
  }
  OVERLAPPED at = {};
  DWORD flags = exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
  if (!LockFileEx(file, flags, 0, 1, 0, &at)) {
    *error = Reason("cannot lock", path);
    CloseHandle(file);
    return nullptr;
  }
  std::unique_ptr<FileLock> lock(new FileLock());
  lock->handle_ = std::make_unique<Handle>();
  lock->handle_->file = file;
  return lock;
}

FileLock::~FileLock() {
  if (handle_ && handle_->file != INVALID_HANDLE_VALUE) {
    OVERLAPPED at = {};
    UnlockFileEx(handle_->file, 0, 1, 0, &at);
    CloseHandle(handle_->file);
  }
}

bool ReadFileText(const std::string& path, std::string* text, bool* missing, std::string* error) {
  *missing = false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    *missing = (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND);
    *error = Reason("cannot open", path);
    return false;
  }
  std::string result;
  char buffer[8192];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      *error = Reason("cannot read", path);
      CloseHandle(file);
      return false;
    }
    if (n == 0) break;
    result.append(buffer, n);
  }
  CloseHandle(file);
  *text = std::move(result);
  return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& contents,
                           std::string* error) {
  std::string temp = path + ".tmp." + std::to_string(GetCurrentProcessId());
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot create", temp);
    return false;
  }
  std::size_t half = contents.size() / 2;
  bool ok = WriteAll(file, contents.data(), half);
  if (ok) ReachWritePoint(WritePoint::kTempHalfWritten);
  ok = ok && WriteAll(file, contents.data() + half, contents.size() - half);
  if (ok) ReachWritePoint(WritePoint::kTempWritten);
  ok = ok && FlushFileBuffers(file);
  if (!ok) *error = Reason("cannot write", temp);
  CloseHandle(file);
  if (ok) ReachWritePoint(WritePoint::kTempSynced);
  if (ok && !MoveFileExA(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    *error = Reason("cannot rename onto", path);
    ok = false;
  }
  if (!ok) {
    DeleteFileA(temp.c_str());
    return false;
  }
  ReachWritePoint(WritePoint::kRenamed);
  return true;
}

bool AppendToFile(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Wine writes an append-only handle's data at the end as it last saw it, so
  // lines of processes tracing at once overwrote each other. Finding the end
  // and writing happen under a lock on a byte far past any text, which leaves
  // readers of the file unhindered. Without the lock the line is still written.
  OVERLAPPED at = {};
  at.OffsetHigh = 0x7FFFFFFF;
  const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
  LARGE_INTEGER none = {};
  bool ok = SetFilePointerEx(file, none, nullptr, FILE_END) != 0 &&
            WriteAll(file, text.data(), text.size());
  if (locked) UnlockFileEx(file, 0, 1, 0, &at);
  CloseHandle(file);
  return ok;
}

}  // namespace sim
