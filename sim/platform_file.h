// The few file operations whose safety differs by system: locking, durable
// atomic replacement and atomic appends. One implementation per system.
#pragma once

#include <memory>
#include <string>

namespace sim {

// A lock on a lock file, held until destruction. Serializes processes.
class FileLock {
 public:
  // Blocks until the lock is granted; null (with a reason) if the lock file
  // cannot be opened.
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

// Reads a whole (small) file. `missing` tells an absent file from a failure.
bool ReadFileText(const std::string& path, std::string* text, bool* missing, std::string* error);

// Replaces `path` with `contents`: temporary file beside it, flushed to disk,
// renamed over the old one. A crash leaves the old or the new file, never a mix.
bool ReplaceFileAtomically(const std::string& path, const std::string& contents,
                           std::string* error);

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

}  // namespace sim
