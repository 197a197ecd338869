#include <dlfcn.h>

#include <cstring>

#include "recorder/host.h"

namespace recorder {

const char* const kRealLibraryFileName = "libQZFWUpdateDll.real.so";

std::string OwnFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  const std::string path = info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void* LoadRealLibrary(const std::string& path) {
  // A bare file name would send dlopen through the system's search; the
  // recorder means the file at that path.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

Proc RealExport(void* library, const char* name) {
  void* symbol = dlsym(library, name);
  Proc proc = nullptr;
  static_assert(sizeof proc == sizeof symbol, "function and object pointers differ in size");
  std::memcpy(&proc, &symbol, sizeof proc);
  return proc;
}

}  // namespace recorder
