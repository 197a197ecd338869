#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/windows_path.h"

namespace platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The system's own text for an error code, without its line end.
std::string SystemText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide(text != nullptr ? text : L"", length);
  LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) {
    wide.pop_back();
  }
  return wide.empty() ? "error " + std::to_string(code) : Utf8Text(wide);
}

std::string Reason(const std::string& what, const std::string& path) {
  const DWORD code = GetLastError();
  return what + " " + path + ": " + SystemText(code);
}

// Runs a file call again while another process holds the file without
// sharing it (an antivirus or a spreadsheet, for a moment), as long as a lock
// would be waited for.
bool RetryWhileHeld(const std::function<bool()>& call) {
  return RetryWithinLockTimeout([&] {
           if (call()) return Try::kDone;
           const DWORD code = GetLastError();
           return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ? Try::kAgain
                                                                                  : Try::kFailed;
         }) == Try::kDone;
}

// CreateFileW on the path's \\?\ form, waiting out a brief hold by another
// process; on failure the last error says why.
HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  const std::wstring wide = ExtendedWindowsPath(path);
  HANDLE file = INVALID_HANDLE_VALUE;
  if (wide.empty()) return file;
  RetryWhileHeld([&] {
    file = CreateFileW(wide.c_str(), access, share, nullptr, disposition, attributes, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  return file;
}

// A handle on the file or folder itself, for its identity and name only: no
// access to its data, so no holder's sharing stands in the way.
HANDLE OpenForIdentity(const std::string& path) {
  return OpenFile(path, 0, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
}

// The text in the ANSI code page; false when a character has no place there.
bool AnsiText(const std::wstring& wide, std::string* ansi) {
  const int length = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr,
                                       0, nullptr, &lossy);
  if (lossy || (size == 0 && length > 0)) return false;
  ansi->assign(static_cast<std::size_t>(size), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, &(*ansi)[0], size,
                        nullptr, nullptr);
  }
  return true;
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

// Reads the rest of the open file from its current position, at most `limit` bytes.
bool ReadRest(HANDLE file, const std::string& path, std::size_t limit, std::string* text,
              std::string* error) {
  std::string result;
  char buffer[8192];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      *error = Reason("cannot read", path);
      return false;
    }
    if (n == 0) break;
    result.append(buffer, n);
    if (result.size() > limit) {
      *error = path + " is larger than " + std::to_string(limit) + " bytes";
      return false;
    }
  }
  *text = std::move(result);
  return true;
}

bool SeekTo(HANDLE file, DWORD from) {
  LARGE_INTEGER none = {};
  return SetFilePointerEx(file, none, nullptr, from) != 0;
}

// Opens a file (an existing one to read, unless told otherwise) and accepts
// only a disk file (no pipe, console or device, which could block or never end).
HANDLE OpenRegular(const std::string& path, std::string* error, bool* missing,
                   DWORD access = GENERIC_READ, DWORD disposition = OPEN_EXISTING) {
  HANDLE file = OpenFile(path, access, kShareAll, disposition);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (missing != nullptr) {
      *missing = (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND);
    }
    *error = Reason("cannot open", path);
    return INVALID_HANDLE_VALUE;
  }
  BY_HANDLE_FILE_INFORMATION info = {};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *error = path + " is not a regular file";
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

}  // namespace

struct FileLock::Handle {
  HANDLE file = INVALID_HANDLE_VALUE;
};

bool FileLock::ReadText(std::string* text, std::string* error) const {
  if (!SeekTo(handle_->file, FILE_BEGIN)) {
    *error = Reason("cannot read", path_);
    return false;
  }
  return ReadRest(handle_->file, path_, kMaxTextFileSize, text, error);
}

bool FileLock::Rewrite(const std::string& text, std::string* error) {
  const HANDLE file = handle_->file;
  if (!SeekTo(file, FILE_BEGIN) || !WriteAll(file, text.data(), text.size()) ||
      !SetEndOfFile(file) || !FlushFileBuffers(file)) {
    *error = Reason("cannot write", path_);
    return false;
  }
  return true;
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, bool exclusive,
                                            std::string* error) {
  HANDLE file = OpenFile(path, GENERIC_READ | GENERIC_WRITE, kShareAll, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot open lock file", path);
    return nullptr;
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    *error = path + " is not a regular file";
    CloseHandle(file);
    return nullptr;
  }
  const DWORD flags = (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
  const Try locked = RetryWithinLockTimeout([&] {
    OVERLAPPED at = {};
    if (LockFileEx(file, flags, 0, 1, 0, &at)) return Try::kDone;
    return GetLastError() == ERROR_LOCK_VIOLATION ? Try::kAgain : Try::kFailed;
  });
  if (locked != Try::kDone) {
    *error = locked == Try::kAgain ? "the lock " + path + " was not granted within " +
                                         std::to_string(LockTimeoutMs()) + " ms"
                                   : Reason("cannot lock", path);
    CloseHandle(file);
    return nullptr;
  }
  std::unique_ptr<FileLock> lock(new FileLock());
  lock->handle_ = std::make_unique<Handle>();
  lock->handle_->file = file;
  lock->path_ = path;
  return lock;
}

FileLock::~FileLock() {
  if (handle_ && handle_->file != INVALID_HANDLE_VALUE) {
    OVERLAPPED at = {};
    UnlockFileEx(handle_->file, 0, 1, 0, &at);
    CloseHandle(handle_->file);
  }
}

bool ReadFileText(const std::string& path, std::string* text, bool* missing, std::string* error,
                  std::size_t limit) {
  *missing = false;
  HANDLE file = OpenRegular(path, error, missing);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool read = ReadRest(file, path, limit, text, error);
  CloseHandle(file);
  return read;
}

std::FILE* OpenRegularFile(const std::string& path, std::string* error, FileAccess access,
                           bool* missing) {
  const bool read = access == FileAccess::kRead;
  const bool create = access == FileAccess::kCreate;
  if (missing != nullptr) *missing = false;
  HANDLE file = OpenRegular(path, error, missing,
                            read     ? GENERIC_READ
                            : create ? GENERIC_WRITE
                                     : GENERIC_READ | GENERIC_WRITE,
                            create ? OPEN_ALWAYS : OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  // A file to write anew is emptied only once it is known to be a disk file.
  if (create && !SetEndOfFile(file)) {
    *error = Reason("cannot empty", path);
    CloseHandle(file);
    return nullptr;
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), (read     ? _O_RDONLY
                                                              : create ? _O_WRONLY
                                                                       : _O_RDWR) |
                                                                 _O_BINARY);
  if (fd < 0) {
    *error = Reason("cannot open", path);
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, read ? "rb" : create ? "wb" : "r+b");
  if (stream == nullptr) {
    *error = Reason("cannot open", path);
    _close(fd);
  }
  return stream;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& contents,
                           std::string* error) {
  std::string temp = path + ".tmp." + std::to_string(GetCurrentProcessId());
  // The new file keeps the old one's attributes (read-only, hidden ...).
  const std::wstring target = ExtendedWindowsPath(path);
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) attributes = FILE_ATTRIBUTE_NORMAL;
  attributes &= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  HANDLE file = OpenFile(temp, GENERIC_WRITE, 0, CREATE_ALWAYS,
                         attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
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
  const std::wstring made = ExtendedWindowsPath(temp);
  if (ok && !RetryWhileHeld([&] {
        return MoveFileExW(made.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      })) {
    *error = Reason("cannot rename onto", path);
    ok = false;
  }
  if (!ok) {
    DeleteFileW(made.c_str());
    return false;
  }
  ReachWritePoint(WritePoint::kRenamed);
  return true;
}

bool AppendToFile(const std::string& path, const std::string& text, Sync sync, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  HANDLE file = OpenFile(path, GENERIC_WRITE, kShareAll, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot open", path);
    return false;
  }
  // Wine writes an append-only handle's data at the end as it last saw it, so
  // lines of processes tracing at once overwrote each other. Finding the end
  // and writing happen under a lock on a byte far past any text, which leaves
  // readers of the file unhindered. Without the lock the line is still written.
  OVERLAPPED at = {};
  at.OffsetHigh = 0x7FFFFFFF;
  const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
  const bool ok = SeekTo(file, FILE_END) && WriteAll(file, text.data(), text.size()) &&
                  (sync == Sync::kNo || FlushFileBuffers(file));
  if (!ok) *error = Reason("cannot write", path);
  if (locked) UnlockFileEx(file, 0, 1, 0, &at);
  CloseHandle(file);
  return ok;
}

bool CreateNewFile(const std::string& path, const std::string& text, std::string* error) {
  HANDLE file = OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
  if (file == INVALID_HANDLE_VALUE) {
    *error =
        Reason(GetLastError() == ERROR_FILE_EXISTS ? "will not overwrite" : "cannot make", path);
    return false;
  }
  const bool ok = WriteAll(file, text.data(), text.size()) && FlushFileBuffers(file);
  if (!ok) *error = Reason("cannot write", path);
  CloseHandle(file);
  return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info[2] = {};
  const std::string* paths[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    HANDLE file = OpenForIdentity(*paths[i]);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info[i]) != 0;
    CloseHandle(file);
    if (!known) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
         info[0].nFileIndexLow == info[1].nFileIndexLow;
}

bool RealPath(const std::string& path, std::string* real, std::string* error) {
  HANDLE file = OpenForIdentity(path);
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot resolve", path);
    return false;
  }
  const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  std::wstring name(MAX_PATH, L'\0');
  DWORD size = GetFinalPathNameByHandleW(file, &name[0], MAX_PATH, flags);
  if (size >= MAX_PATH) {
    // Room for the terminator too, whether the size told counts it or not.
    name.assign(size + 1, L'\0');
    size = GetFinalPathNameByHandleW(file, &name[0], size + 1, flags);
  }
  const bool named = size != 0 && size < name.size();
  CloseHandle(file);
  if (named) {
    *real = Utf8Text(OrdinaryWindowsPath(name.substr(0, size)));
    return true;
  }
  // Where the system cannot name the file (wine, for a path past MAX_PATH),
  // its absolute path does, without the links it may pass through resolved.
  const std::wstring absolute = ExtendedWindowsPath(path);
  if (absolute.empty()) {
    *error = Reason("cannot resolve", path);
    return false;
  }
  *real = Utf8Text(OrdinaryWindowsPath(absolute));
  return true;
}

bool LibraryPath(const std::string& path, std::string* narrow) {
  // Where the code page is UTF-8 itself (a Windows 10 option), the path is it.
  if (GetACP() == CP_UTF8) {
    *narrow = path;
    return true;
  }
  if (AnsiText(WindowsPath(path), narrow)) return true;
  const std::wstring extended = ExtendedWindowsPath(path);
  // A short name may be longer than the long one: 8 characters for 4.
  DWORD size = extended.empty() ? 0 : GetShortPathNameW(extended.c_str(), nullptr, 0);
  std::wstring shortForm(size, L'\0');
  if (size > 0) size = GetShortPathNameW(extended.c_str(), &shortForm[0], size);
  if (size == 0 || size >= shortForm.size()) return false;
  shortForm.resize(size);
  return AnsiText(OrdinaryWindowsPath(shortForm), narrow);
}

std::string PathFromLibrary(const char* narrow) {
  const int length = static_cast<int>(std::strlen(narrow));
  const int size = MultiByteToWideChar(CP_ACP, 0, narrow, length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, narrow, length, &wide[0], size);
  return Utf8Text(wide);
}

}  // namespace platform
