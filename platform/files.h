// The few file operations whose safety differs by system: locking, durable
// atomic replacement, atomic appends, files that must not block. One
// implementation per system (files_posix.cpp, files_windows.cpp), the
// portable rest in files.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace platform {

// How long a lock is waited for before it is given up.
constexpr int kLockTimeoutMs = 10000;
// The largest file ReadFileText reads unless told otherwise; anything bigger
// is refused unread.
constexpr std::size_t kMaxTextFileSize = std::size_t{1} << 20;

// A lock on a lock file, held until destruction. Serializes processes.
class FileLock {
 public:
  // Waits up to kLockTimeoutMs (or the test's timeout) for the lock; null
  // with a reason if the lock file cannot be opened or the time is up.
  static std::unique_ptr<FileLock> Acquire(const std::string& path, bool exclusive,
                                           std::string* error);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  FileLock() = default;
  struct Handle;
  std::unique_ptr<Handle> handle_;
};
void SetLockTimeoutForTest(int milliseconds);
int LockTimeoutMs();

// Reads a whole regular file of at most `limit` bytes, without ever blocking
// on a FIFO or device. `missing` tells an absent file from a failure.
bool ReadFileText(const std::string& path, std::string* text, bool* missing, std::string* error,
                  std::size_t limit = kMaxTextFileSize);

// How OpenRegularFile opens a file: to read it, to change it in place, or to
// write it anew (created, or emptied).
enum class FileAccess { kRead, kUpdate, kCreate };

// Opens a regular file as a binary stream, without blocking on a FIFO or
// device; null with a reason otherwise, and `missing` (if given) telling an
// absent file from other failures.
std::FILE* OpenRegularFile(const std::string& path, std::string* error,
                           FileAccess access = FileAccess::kRead, bool* missing = nullptr);

// Replaces `path` with `contents`: temporary file beside it (path.tmp.PID),
// flushed to disk, given the old file's permissions, renamed over the old
// one. A crash leaves the old or the new file, never a mix.
bool ReplaceFileAtomically(const std::string& path, const std::string& contents,
                           std::string* error);

// Removes the path.tmp.* files that killed writers left. Only while holding
// the exclusive lock, when no writer can be busy with one.
void RemoveStaleTemporaries(const std::string& path);

// The file a chain of symbolic links at `path` ends in (`path` itself when
// it is no link or the chain is too long).
std::string ResolveLinks(const std::string& path);

// Appends `text` at the end of the file in one step (a write on a file opened
// for appending; on Windows under a lock), so lines from concurrent processes
// never interleave or overwrite each other.
bool AppendToFile(const std::string& path, const std::string& text);

// Creates the folders leading to `path`.
bool CreateParentFolders(const std::string& path, std::string* error);

// The points of ReplaceFileAtomically at which a test may stop the process.
enum class WritePoint { kTempHalfWritten, kTempWritten, kTempSynced, kRenamed };
using WritePointHook = void (*)(WritePoint point);
void SetWritePointHookForTest(WritePointHook hook);
void ReachWritePoint(WritePoint point);

}  // namespace platform
