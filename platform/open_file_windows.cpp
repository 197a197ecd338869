#include <windows.h>

#include "platform/open_file.h"
#include "platform/windows_path.h"

namespace platform {
namespace {

// The system's own words for the last failure, and its number.
std::string Reason(const std::string& what, const std::string& path) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length > 0 ? Utf8Text(std::wstring(text, length)) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return what + " " + path + ": " + message + " (error " + std::to_string(code) + ")";
}

OVERLAPPED At(uint64_t offset) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, DWORD stream) {
  BY_HANDLE_FILE_INFORMATION b = {};
  const HANDLE other = GetStdHandle(stream);
  return other != nullptr && other != INVALID_HANDLE_VALUE &&
         GetFileInformationByHandle(other, &b) &&
         a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

struct OpenFile::Handle {
  HANDLE file = INVALID_HANDLE_VALUE;
};

std::unique_ptr<OpenFile> OpenFile::Open(const std::string& path, OpenFor mode, std::string* error,
                                         bool* missing) {
  const DWORD access = mode == OpenFor::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  // Others may read, write and rename it meanwhile, as they may any file of the line.
  const HANDLE file = CreateFileW(WindowsPath(path).c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  mode == OpenFor::kChangeOrMake ? OPEN_ALWAYS : OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD code = GetLastError();
  if (missing != nullptr) {
    *missing = file == INVALID_HANDLE_VALUE &&
               (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND);
  }
  if (file == INVALID_HANDLE_VALUE) {
    *error = Reason("cannot open", path);
    return nullptr;
  }
  // A pipe, console or device could block or never end.
  if (GetFileType(file) != FILE_TYPE_DISK) {
    *error = path + " is not a regular file";
    CloseHandle(file);
    return nullptr;
  }
  std::unique_ptr<OpenFile> opened(new OpenFile());
  opened->handle_ = std::make_unique<Handle>();
  opened->handle_->file = file;
  opened->path_ = path;
  opened->made_ = mode == OpenFor::kChangeOrMake && code != ERROR_ALREADY_EXISTS;
  return opened;
}

OpenFile::~OpenFile() {
  if (handle_ && handle_->file != INVALID_HANDLE_VALUE) CloseHandle(handle_->file);
}

bool OpenFile::Size(uint64_t* size, std::string* error) const {
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(handle_->file, &length)) {
    *error = Reason("cannot read the size of", path_);
    return false;
  }
  *size = static_cast<uint64_t>(length.QuadPart);
  return true;
}

bool OpenFile::ReadAt(uint64_t offset, void* data, std::size_t size, std::size_t* got,
                      std::string* error) const {
  *got = 0;
  while (*got < size) {
    const std::size_t left = size - *got;
    const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
    DWORD n = 0;
    OVERLAPPED at = At(offset + *got);
    if (!ReadFile(handle_->file, static_cast<char*>(data) + *got, chunk, &n, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      *error = Reason("cannot read", path_);
      return false;
    }
    if (n == 0) break;
    *got += n;
  }
  return true;
}

bool OpenFile::WriteAt(uint64_t offset, const void* data, std::size_t size, std::string* error) {
  for (std::size_t done = 0; done < size;) {
    const std::size_t left = size - done;
    const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
    DWORD n = 0;
    OVERLAPPED at = At(offset + done);
    if (!WriteFile(handle_->file, static_cast<const char*>(data) + done, chunk, &n, &at) ||
        n == 0) {
      *error = Reason("cannot write", path_);
      return false;
    }
    done += n;
  }
  return true;
}

bool OpenFile::Truncate(uint64_t size, std::string* error) {
  LARGE_INTEGER to = {};
  to.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(handle_->file, to, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_->file)) {
    *error = Reason("cannot cut back", path_);
    return false;
  }
  return true;
}

// FlushFileBuffers writes the file's folder entry (its metadata) as well.
bool OpenFile::Sync(std::string* error) {
  if (!FlushFileBuffers(handle_->file)) {
    *error = Reason("cannot flush to disk", path_);
    return false;
  }
  made_ = false;
  return true;
}

bool OpenFile::IsStandardOutput() const {
  BY_HANDLE_FILE_INFORMATION info = {};
  return GetFileInformationByHandle(handle_->file, &info) &&
         (SameFile(info, STD_OUTPUT_HANDLE) || SameFile(info, STD_ERROR_HANDLE));
}

bool RenameOver(const std::string& from, const std::string& to, std::string* error) {
  if (!MoveFileExW(WindowsPath(from).c_str(), WindowsPath(to).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    *error = Reason("cannot rename onto", to);
    return false;
  }
  return true;
}

}  // namespace platform
