#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/line_files.h"

namespace {

bool Failed(const char* what, const char* path, std::string* why) {
  *why = std::string(what) + " " + path + ": " + std::strerror(errno);
  return false;
}

// A new file survives a crash only with its folder's entry on disk too.
bool SyncFolderOf(const char* path) {
  std::string folder(path);
  const size_t slash = folder.find_last_of('/');
  folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  close(fd);
  return synced;
}

bool WriteAll(int fd, const std::string& text, off_t offset) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = offset < 0 ? write(fd, text.data() + done, text.size() - done)
                                       : pwrite(fd, text.data() + done, text.size() - done,
                                                offset + static_cast<off_t>(done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

// Opens for writing, telling whether the file was made just now.
int OpenOrMake(const char* path, int flags, bool* made) {
  int fd = open(path, flags | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  *made = fd >= 0;
  if (fd < 0 && errno == EEXIST) fd = open(path, flags | O_CLOEXEC);
  return fd;
}

bool ChangeOpenFile(int fd, const char* path, bool made,
                    const std::function<bool(std::string& text)>& change, std::string* why) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  while (fcntl(fd, F_SETLKW, &lock) != 0) {
    if (errno != EINTR) return Failed("cannot lock", path, why);
  }
  std::string text;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(fd, buffer, sizeof buffer, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed("cannot read", path, why);
    if (got == 0) break;
    text.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
  if (!change(text)) return true;
  if (!WriteAll(fd, text, 0) || ftruncate(fd, static_cast<off_t>(text.size())) != 0 ||
      fsync(fd) != 0 || (made && !SyncFolderOf(path))) {
    return Failed("cannot write", path, why);
  }
  return true;  // closing the file releases the lock
}

}  // namespace

bool ChangeFileLocked(const char* path, const std::function<bool(std::string& text)>& change,
                      std::string* why) {
  bool made = false;
  const int fd = OpenOrMake(path, O_RDWR, &made);
  if (fd < 0) return Failed("cannot open", path, why);
  const bool changed = ChangeOpenFile(fd, path, made, change, why);
  close(fd);
  return changed;
}

bool AppendDurably(const char* path, const std::string& text, std::string* why) {
  bool made = false;
  const int fd = OpenOrMake(path, O_WRONLY | O_APPEND, &made);
  if (fd < 0) return Failed("cannot open", path, why);
  const bool written = WriteAll(fd, text, -1) && fsync(fd) == 0 && (!made || SyncFolderOf(path));
  if (!written) Failed("cannot write", path, why);
  close(fd);
  return written;
}

bool CreateNewFile(const char* path, const std::string& text, std::string* why) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return Failed(errno == EEXIST ? "will not overwrite" : "cannot make", path, why);
  const bool written = WriteAll(fd, text, -1) && fsync(fd) == 0 && SyncFolderOf(path);
  if (!written) Failed("cannot write", path, why);
  close(fd);
  return written;
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

std::string UtcTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm utc = {};
  char text[32] = {};
  if (gmtime_r(&now, &utc) == nullptr) return std::string();
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}
