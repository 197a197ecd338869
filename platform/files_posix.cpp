#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.h"

namespace platform {
namespace {

std::string Reason(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A new or renamed file survives a crash only with its folder's entry on disk too.
bool SyncFolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  const bool synced = ::fsync(dir) == 0;
  ::close(dir);
  return synced;
}

// Reads what is left of the open file from `offset` on, at most `limit` bytes.
bool ReadRest(int fd, off_t offset, const std::string& path, std::size_t limit, std::string* text,
              std::string* error) {
  std::string result;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = Reason("cannot read", path);
      return false;
    }
    if (n == 0) break;
    result.append(buffer, static_cast<std::size_t>(n));
    offset += n;
    if (result.size() > limit) {
      *error = path + " is larger than " + std::to_string(limit) + " bytes";
      return false;
    }
  }
  *text = std::move(result);
  return true;
}

// Opens without blocking (a FIFO would wait for a writer) and accepts only a
// regular file; the descriptor then blocks as usual.
int OpenRegular(const std::string& path, int flags, std::string* error, bool* missing) {
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (missing != nullptr) *missing = (errno == ENOENT);
    // Writing to a FIFO that nobody reads (or to some devices) fails so.
    *error = errno == ENXIO ? path + " is not a regular file" : Reason("cannot open", path);
    return -1;
  }
  struct stat info = {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *error = path + " is not a regular file";
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

struct FileLock::Handle {
  int fd = -1;
};

bool FileLock::ReadText(std::string* text, std::string* error) const {
  return ReadRest(handle_->fd, 0, path_, kMaxTextFileSize, text, error);
}

bool FileLock::Rewrite(const std::string& text, std::string* error) {
  const int fd = handle_->fd;
  // An empty file may be one made just now, whose folder entry is not yet on disk.
  const bool wasEmpty = ::lseek(fd, 0, SEEK_END) == 0;
  if (::lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, text.data(), text.size()) ||
      ::ftruncate(fd, static_cast<off_t>(text.size())) != 0 || ::fsync(fd) != 0 ||
      (wasEmpty && !SyncFolderOf(path_))) {
    *error = Reason("cannot write", path_);
    return false;
  }
  return true;
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, bool exclusive,
                                            std::string* error) {
  int fd = OpenRegular(path, O_RDWR | O_CREAT, error, nullptr);
  if (fd < 0) return nullptr;
  // A record lock on the first byte, owned by the open file: the same lock
  // the Windows build takes with LockFileEx, which wine's server holds as a
  // POSIX record lock. flock would not see it, and a native bridgesim could
  // then change the state in the middle of a wine tool's update.
  struct flock range = {};
  range.l_type = exclusive ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 1;
  const Try locked = RetryWithinLockTimeout([&] {
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return Try::kDone;
    return errno == EAGAIN || errno == EACCES || errno == EINTR ? Try::kAgain : Try::kFailed;
  });
  if (locked != Try::kDone) {
    *error = errno == EAGAIN || errno == EACCES ? "the lock " + path + " was not granted within " +
                                                      std::to_string(LockTimeoutMs()) + " ms"
                                                : Reason("cannot lock", path);
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<FileLock> lock(new FileLock());
  lock->handle_ = std::make_unique<Handle>();
  lock->handle_->fd = fd;
  lock->path_ = path;
  return lock;
}

FileLock::~FileLock() {
  if (handle_ && handle_->fd >= 0) ::close(handle_->fd);  // closing releases the lock
}

bool ReadFileText(const std::string& path, std::string* text, bool* missing, std::string* error,
                  std::size_t limit) {
  *missing = false;
  int fd = OpenRegular(path, O_RDONLY, error, missing);
  if (fd < 0) return false;
  const bool read = ReadRest(fd, 0, path, limit, text, error);
  ::close(fd);
  return read;
}

std::FILE* OpenRegularFile(const std::string& path, std::string* error, FileAccess access,
                           bool* missing) {
  const int flags = access == FileAccess::kRead     ? O_RDONLY
                    : access == FileAccess::kUpdate ? O_RDWR
                                                    : O_WRONLY | O_CREAT | O_TRUNC;
  if (missing != nullptr) *missing = false;
  int fd = OpenRegular(path, flags, error, missing);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, access == FileAccess::kRead     ? "rb"
                                 : access == FileAccess::kUpdate ? "r+b"
                                                                 : "wb");
  if (file == nullptr) {
    *error = Reason("cannot open", path);
    ::close(fd);
  }
  return file;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& contents,
                           std::string* error) {
  std::string temp = path + ".tmp." + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = Reason("cannot create", temp);
    return false;
  }
  // The new file keeps the permissions the old one had (a private state stays private).
  struct stat old = {};
  bool ok = ::stat(path.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
  std::size_t half = contents.size() / 2;
  ok = ok && WriteAll(fd, contents.data(), half);
  if (ok) ReachWritePoint(WritePoint::kTempHalfWritten);
  ok = ok && WriteAll(fd, contents.data() + half, contents.size() - half);
  if (ok) ReachWritePoint(WritePoint::kTempWritten);
  ok = ok && ::fsync(fd) == 0;
  if (!ok) *error = Reason("cannot write", temp);
  if (::close(fd) != 0 && ok) {
    *error = Reason("cannot close", temp);
    ok = false;
  }
  if (ok) ReachWritePoint(WritePoint::kTempSynced);
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    *error = Reason("cannot rename onto", path);
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  ReachWritePoint(WritePoint::kRenamed);
  SyncFolderOf(path);
  return true;
}

bool AppendToFile(const std::string& path, const std::string& text, Sync sync, std::string* error) {
  // Made here (exclusively) or already there: a new file's folder entry must
  // reach the disk as well.
  const int flags = O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC;
  bool made = sync == Sync::kToDisk;
  int fd = ::open(path.c_str(), flags | O_CREAT | (made ? O_EXCL : 0), 0644);
  if (fd < 0 && made && errno == EEXIST) {
    made = false;
    fd = ::open(path.c_str(), flags);
  }
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (fd < 0) {
    *error = Reason("cannot open", path);
    return false;
  }
  const bool ok = WriteAll(fd, text.data(), text.size()) &&
                  (sync == Sync::kNo || (::fsync(fd) == 0 && (!made || SyncFolderOf(path))));
  if (!ok) *error = Reason("cannot write", path);
  ::close(fd);
  return ok;
}

bool CreateNewFile(const std::string& path, const std::string& text, std::string* error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = Reason(errno == EEXIST ? "will not overwrite" : "cannot make", path);
    return false;
  }
  const bool ok = WriteAll(fd, text.data(), text.size()) && ::fsync(fd) == 0 && SyncFolderOf(path);
  if (!ok) *error = Reason("cannot write", path);
  ::close(fd);
  return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first = {};
  struct stat second = {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool RealPath(const std::string& path, std::string* real, std::string* error) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) {
    *error = Reason("cannot resolve", path);
    return false;
  }
  *real = resolved;
  std::free(resolved);
  return true;
}

bool LibraryPath(const std::string& path, std::string* narrow) {
  *narrow = path;
  return true;
}

std::string PathFromLibrary(const char* narrow) { return narrow; }

}  // namespace platform
