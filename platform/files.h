// The few file operations whose safety differs by system: locking, durable
// atomic replacement, atomic appends, files made only when new, files that
// must not block. One implementation per system (files_posix.cpp,
// files_windows.cpp), the portable rest in files.cpp. Paths are UTF-8 text
// on every system (Windows gives them to its wide functions).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// How long a lock is waited for before it is given up.
constexpr int kLockTimeoutMs = 10000;
// The largest file ReadFileText reads unless told otherwise; anything bigger
// is refused unread.
constexpr std::size_t kMaxTextFileSize = std::size_t{1} << 20;

// A lock on a file (made when missing), held until destruction. Serializes
// processes. It guards either a file of its own (a lock file) or the very
// file it is taken on, which is then read and rewritten through it.
class FileLock {
 public:
  // Waits up to kLockTimeoutMs (or the test's timeout) for the lock; null
  // with a reason if the file cannot be opened or the time is up.
  static std::unique_ptr<FileLock> Acquire(const std::string& path, bool exclusive,
                                           std::string* error);
  ~FileLock();
  // The locked file's whole text, at most kMaxTextFileSize bytes.
  bool ReadText(std::string* text, std::string* error) const;
  // Replaces the locked file's text in place; it is on disk (a new file's
  // folder entry too) before this returns.
  bool Rewrite(const std::string& text, std::string* error);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  FileLock() = default;
  struct Handle;
  std::unique_ptr<Handle> handle_;
  std::string path_;
};
void SetLockTimeoutForTest(int milliseconds);
int LockTimeoutMs();

// One try of a wait: done, worth another try, or failed for good.
enum class Try { kDone, kAgain, kFailed };
// Tries until done or failed, or until LockTimeoutMs() has passed (a try each
// millisecond for the first 100 ms, then every 10 ms): a holder that hangs
// costs a bounded wait, not the run. The last try's result; nothing runs
// after it, so errno or the last error is still the try's.
Try RetryWithinLockTimeout(const std::function<Try()>& attempt);

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

// Takes an exclusive lock on the file at `path` (made when missing) and
// hands its whole text to `change`. When `change` returns true, its new text
// replaces the old one and is on disk before the lock is released.
bool ChangeFileLocked(const std::string& path, const std::function<bool(std::string& text)>& change,
                      std::string* error);

// Whether a write is on disk before the call returns.
enum class Sync { kNo, kToDisk };

// Appends `text` at the end of the file (made when missing) in one step (a
// write on a file opened for appending; on Windows under a lock), so lines
// from concurrent processes never interleave or overwrite each other.
bool AppendToFile(const std::string& path, const std::string& text, Sync sync = Sync::kNo,
                  std::string* error = nullptr);

// Makes the file at `path` holding `text`, on disk (its folder entry too)
// before returning; an existing file is never touched.
bool CreateNewFile(const std::string& path, const std::string& text, std::string* error);

// Creates the folders leading to `path`.
bool CreateParentFolders(const std::string& path, std::string* error);

// Whether both paths name an existing file, and the same one (through links,
// other names or hard links).
bool SameFile(const std::string& a, const std::string& b);

// The absolute path of the existing file at `path`, every symbolic link
// resolved; false with a reason otherwise.
bool RealPath(const std::string& path, std::string* real, std::string* error);

// The path as a library that takes narrow paths (the maker's) can open it:
// on Windows, where such a library reads them in the ANSI code page, the path
// in that code page, or its short (8.3) form when a character has no place
// there; elsewhere the path itself. False when neither form holds it.
bool LibraryPath(const std::string& path, std::string* narrow);

// A narrow path a library was given, as UTF-8: for the simulated library,
// which reads its paths as the maker's does.
std::string PathFromLibrary(const char* narrow);

// The points of ReplaceFileAtomically at which a test may stop the process.
enum class WritePoint { kTempHalfWritten, kTempWritten, kTempSynced, kRenamed };
using WritePointHook = void (*)(WritePoint point);
void SetWritePointHookForTest(WritePointHook hook);
void ReachWritePoint(WritePoint point);

}  // namespace platform
