#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "sim/platform_file.h"

namespace sim {

static WritePointHook g_write_point_hook = nullptr;
static int g_lock_timeout_ms = kLockTimeoutMs;

void SetWritePointHookForTest(WritePointHook hook) { g_write_point_hook = hook; }

void ReachWritePoint(WritePoint point) {
  if (g_write_point_hook != nullptr) g_write_point_hook(point);
}

void SetLockTimeoutForTest(int milliseconds) { g_lock_timeout_ms = milliseconds; }
int LockTimeoutMs() { return g_lock_timeout_ms; }

bool CreateParentFolders(const std::string& path, std::string* error) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  if (ec) {
    *error = "cannot create " + parent.string() + ": " + ec.message();
    return false;
  }
  return true;
}

std::string ResolveLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at = path;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
    fs::path target = fs::read_symlink(at, ec);
    if (ec) break;
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  return at.string();
}

void RemoveStaleTemporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path file = path;
  const std::string prefix = file.filename().string() + ".tmp.";
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename().string().rfind(prefix, 0) == 0) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

std::string CurrentTimeText() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const long long micros = duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000;
  std::tm utc = {};
#if defined(_WIN32)
  gmtime_s(&utc, &seconds);
#else
  gmtime_r(&seconds, &utc);
#endif
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06lldZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                micros < 0 ? 0 : micros);
  return text;
}

}  // namespace sim
