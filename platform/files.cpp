#include "platform/files.h"

#include <filesystem>
#include <system_error>

#include "platform/process.h"

namespace platform {

static WritePointHook TestWritePointHook = nullptr;
static int LockWaitMs = kLockTimeoutMs;

void SetWritePointHookForTest(WritePointHook hook) { TestWritePointHook = hook; }

void ReachWritePoint(WritePoint point) {
  if (TestWritePointHook != nullptr) TestWritePointHook(point);
}

void SetLockTimeoutForTest(int milliseconds) { LockWaitMs = milliseconds; }
int LockTimeoutMs() { return LockWaitMs; }

Try RetryWithinLockTimeout(const std::function<Try()>& attempt) {
  for (int waited = 0;;) {
    const Try result = attempt();
    if (result != Try::kAgain || waited >= LockTimeoutMs()) return result;
    const int step = waited < 100 ? 1 : 10;
    SleepMilliseconds(step);
    waited += step;
  }
}

bool CreateParentFolders(const std::string& path, std::string* error) {
  std::filesystem::path parent = std::filesystem::u8path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  if (ec) {
    *error = "cannot create " + parent.u8string() + ": " + ec.message();
    return false;
  }
  return true;
}

std::string ResolveLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at = fs::u8path(path);
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
    fs::path target = fs::read_symlink(at, ec);
    if (ec) break;
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  return at.u8string();
}

bool ChangeFileLocked(const std::string& path, const std::function<bool(std::string& text)>& change,
                      std::string* error) {
  std::unique_ptr<FileLock> lock = FileLock::Acquire(path, /*exclusive=*/true, error);
  std::string text;
  if (!lock || !lock->ReadText(&text, error)) return false;
  return !change(text) || lock->Rewrite(text, error);
}

void RemoveStaleTemporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path file = fs::u8path(path);
  const std::string prefix = file.filename().u8string() + ".tmp.";
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename().u8string().rfind(prefix, 0) == 0) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

}  // namespace platform
