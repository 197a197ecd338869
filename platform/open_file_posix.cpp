#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/open_file.h"

namespace platform {
namespace {

// 64-bit offsets in the 32-bit builds too (the build asks for them): records
// grow past 2 GiB.
static_assert(sizeof(off_t) == 8, "64-bit file offsets");

std::string Reason(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// A new or renamed file survives a crash only with its folder's entry on disk too.
bool SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  const bool synced = ::fsync(dir) == 0;
  ::close(dir);
  return synced;
}

bool SameFile(const struct stat& a, int fd) {
  struct stat b = {};
  return ::fstat(fd, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

struct OpenFile::Handle {
  int fd = -1;
};

std::unique_ptr<OpenFile> OpenFile::Open(const std::string& path, OpenFor mode, std::string* error,
                                         bool* missing) {
  // Without O_NONBLOCK a FIFO would wait for its other end.
  const int flags = (mode == OpenFor::kRead ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC;
  bool made = false;
  int fd = -1;
  if (mode == OpenFor::kChangeOrMake) {
    fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
    made = fd >= 0;
  }
  if (fd < 0 && (mode != OpenFor::kChangeOrMake || errno == EEXIST)) {
    fd = ::open(path.c_str(), flags);
  }
  if (missing != nullptr) *missing = fd < 0 && errno == ENOENT;
  struct stat info = {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *error =
        fd < 0 && errno != ENXIO ? Reason("cannot open", path) : path + " is not a regular file";
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::unique_ptr<OpenFile> file(new OpenFile());
  file->handle_ = std::make_unique<Handle>();
  file->handle_->fd = fd;
  file->path_ = path;
  file->made_ = made;
  return file;
}

OpenFile::~OpenFile() {
  if (handle_ && handle_->fd >= 0) ::close(handle_->fd);
}

bool OpenFile::Size(uint64_t* size, std::string* error) const {
  struct stat info = {};
  if (::fstat(handle_->fd, &info) != 0) {
    *error = Reason("cannot read the size of", path_);
    return false;
  }
  *size = static_cast<uint64_t>(info.st_size);
  return true;
}

bool OpenFile::ReadAt(uint64_t offset, void* data, std::size_t size, std::size_t* got,
                      std::string* error) const {
  *got = 0;
  while (*got < size) {
    const ssize_t n = ::pread(handle_->fd, static_cast<char*>(data) + *got, size - *got,
                              static_cast<off_t>(offset + *got));
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = Reason("cannot read", path_);
      return false;
    }
    *got += static_cast<std::size_t>(n);
  }
  return true;
}

bool OpenFile::WriteAt(uint64_t offset, const void* data, std::size_t size, std::string* error) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t n = ::pwrite(handle_->fd, static_cast<const char*>(data) + done, size - done,
                               static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = Reason("cannot write", path_);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool OpenFile::Truncate(uint64_t size, std::string* error) {
  if (::ftruncate(handle_->fd, static_cast<off_t>(size)) != 0) {
    *error = Reason("cannot cut back", path_);
    return false;
  }
  return true;
}

bool OpenFile::Sync(std::string* error) {
  if (::fsync(handle_->fd) != 0 || (made_ && !SyncFolderOf(path_))) {
    *error = Reason("cannot flush to disk", path_);
    return false;
  }
  made_ = false;
  return true;
}

bool OpenFile::IsStandardOutput() const {
  struct stat info = {};
  return ::fstat(handle_->fd, &info) == 0 &&
         (SameFile(info, STDOUT_FILENO) || SameFile(info, STDERR_FILENO));
}

bool RenameOver(const std::string& from, const std::string& to, std::string* error) {
  if (::rename(from.c_str(), to.c_str()) != 0 || !SyncFolderOf(to)) {
    *error = Reason("cannot rename onto", to);
    return false;
  }
  return true;
}

}  // namespace platform
