// A regular file kept open to be read and changed at any place: a file that
// grows past what fits in memory (the line's record) and a table kept on
// disk beside it. Offsets are 64-bit on every system, 32-bit Windows too.
// One implementation per system (open_file_posix.cpp, open_file_windows.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// What OpenFile::Open may do: read, read and write, or also make the file
// when it is missing (an existing one is kept as it is).
enum class OpenFor { kRead, kChange, kChangeOrMake };

class OpenFile {
 public:
  // Opens a regular file without ever blocking on a FIFO or device; null with
  // the system's reason otherwise, and `missing` (if given) telling an absent
  // file from other failures.
  static std::unique_ptr<OpenFile> Open(const std::string& path, OpenFor mode, std::string* error,
                                        bool* missing = nullptr);
  ~OpenFile();
  bool Size(uint64_t* size, std::string* error) const;
  // Reads up to `size` bytes at `offset`; `*got` is less only at the file's end.
  bool ReadAt(uint64_t offset, void* data, std::size_t size, std::size_t* got,
              std::string* error) const;
  // Writes all `size` bytes at `offset`, or fails (a full disk) having written part.
  bool WriteAt(uint64_t offset, const void* data, std::size_t size, std::string* error);
  bool Truncate(uint64_t size, std::string* error);
  // What was written is on disk, and so is the folder entry of a file Open made.
  bool Sync(std::string* error);
  // Whether this is the file the process's standard output or error goes to.
  bool IsStandardOutput() const;
  const std::string& Path() const { return path_; }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

 private:
  OpenFile() = default;
  struct Handle;
  std::unique_ptr<Handle> handle_;
  std::string path_;
  bool made_ = false;
};

// Puts the file `from` in the place of `to` in one step (a crash leaves the
// one or the other), the change on disk before returning. Neither may be open.
bool RenameOver(const std::string& from, const std::string& to, std::string* error);

}  // namespace platform
