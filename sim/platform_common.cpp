#include <filesystem>
#include <system_error>

#include "sim/platform_file.h"

namespace sim {

static WritePointHook g_write_point_hook = nullptr;

void SetWritePointHookForTest(WritePointHook hook) { g_write_point_hook = hook; }

void ReachWritePoint(WritePoint point) {
  if (g_write_point_hook != nullptr) g_write_point_hook(point);
}

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

}  // namespace sim
