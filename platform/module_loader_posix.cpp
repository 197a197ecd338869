// Windows module-loading semantics over dlopen/dlsym/dlclose.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/module_loader.h"

namespace {

constexpr unsigned long kPathSize = 4096;

// Directory of the running executable, with a trailing slash; empty text when
// it cannot be told.
void ExecutableFolder(char* out, unsigned long outSize) {
  out[0] = '\0';
  char exe[kPathSize];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return;
  exe[n] = '\0';
  char* slash = std::strrchr(exe, '/');
  if (slash == nullptr) return;
  slash[1] = '\0';
  std::snprintf(out, outSize, "%s", exe);
}

bool JoinPath(const char* folder, const char* file, char* out, unsigned long outSize) {
  const int n = std::snprintf(out, outSize, "%s%s", folder, file);
  return n > 0 && static_cast<unsigned long>(n) < outSize;
}

// Path of a loaded object whose file name is `file`, from the process's own
// list of loaded objects.
bool FindLoadedModule(const char* file, char* path, unsigned long pathSize) {
  struct Search {
    const char* file;
    char* path;
    unsigned long pathSize;
    bool found;
  } search{file, path, pathSize, false};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        const char* name = info->dlpi_name;
        if (name == nullptr || name[0] == '\0') return 0;
        const char* slash = std::strrchr(name, '/');
        if (std::strcmp(slash != nullptr ? slash + 1 : name, s->file) != 0) return 0;
        const int n = std::snprintf(s->path, s->pathSize, "%s", name);
        s->found = n > 0 && static_cast<unsigned long>(n) < s->pathSize;
        return 1;
      },
      &search);
  return search.found;
}

// Loads folder + file when that file exists. The folder ends with a slash;
// an empty or relative one loads nothing.
HMODULE LoadFromFolder(const char* folder, const char* file) {
  char path[kPathSize];
  if (folder[0] != '/' || !JoinPath(folder, file, path, sizeof path)) return nullptr;
  if (access(path, F_OK) != 0) return nullptr;
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

// The loader's own search folders for the program, in its order: those of
// LD_LIBRARY_PATH, then the system's defaults. The loader reads an empty or
// relative entry against the current directory, so only absolute ones count.
HMODULE LoadFromLoaderFolders(const char* file) {
  void* self = dlopen(nullptr, RTLD_NOW);
  if (self == nullptr) return nullptr;
  HMODULE module = nullptr;
  Dl_serinfo size;
  if (dlinfo(self, RTLD_DI_SERINFOSIZE, &size) == 0) {
    std::vector<unsigned char> storage(size.dls_size + alignof(Dl_serinfo));
    void* aligned = storage.data();
    std::size_t space = storage.size();
    auto* info =
        static_cast<Dl_serinfo*>(std::align(alignof(Dl_serinfo), size.dls_size, aligned, space));
    if (info != nullptr) {
      *info = size;
      if (dlinfo(self, RTLD_DI_SERINFO, info) == 0) {
        for (unsigned int i = 0; i < info->dls_cnt && module == nullptr; ++i) {
          char folder[kPathSize];
          const int n = std::snprintf(folder, sizeof folder, "%s/", info->dls_serpath[i].dls_name);
          if (n > 0 && static_cast<unsigned long>(n) < sizeof folder)
            module = LoadFromFolder(folder, file);
        }
      }
    }
  }
  dlclose(self);
  return module;
}

}  // namespace

const char* PlatformLibraryFileName(LPCSTR moduleName, char* out, unsigned long outSize) {
  if (outSize == 0) return nullptr;
  out[0] = '\0';
  if (moduleName == nullptr) return nullptr;
  // A path is taken as it is; a bare module name becomes lib<base>.so.
  if (std::strchr(moduleName, '/') != nullptr) {
    return std::snprintf(out, outSize, "%s", moduleName) < static_cast<int>(outSize) ? out
                                                                                     : nullptr;
  }
  size_t baseLength = std::strlen(moduleName);
  if (baseLength >= 4 && strcasecmp(moduleName + baseLength - 4, ".dll") == 0) baseLength -= 4;
  const int n = std::snprintf(out, outSize, "lib%.*s.so", static_cast<int>(baseLength), moduleName);
  return (n > 0 && static_cast<unsigned long>(n) < outSize) ? out : nullptr;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  char file[kPathSize];
  if (PlatformLibraryFileName(moduleName, file, sizeof file) == nullptr) return nullptr;
  if (std::strchr(file, '/') != nullptr) return dlopen(file, RTLD_NOW | RTLD_NOLOAD);
  // As on Windows, a module is found by its file name among those the process
  // has loaded, wherever it was loaded from; the disk is never searched.
  char loaded[kPathSize];
  if (!FindLoadedModule(file, loaded, sizeof loaded)) return nullptr;
  // The reference RTLD_NOLOAD takes is kept: the caller releases it with
  // FreeLibrary, so the module it found never goes away under it.
  return dlopen(loaded, RTLD_NOW | RTLD_NOLOAD);
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  char file[kPathSize];
  if (PlatformLibraryFileName(fileName, file, sizeof file) == nullptr) return nullptr;
  if (std::strchr(file, '/') != nullptr) return dlopen(file, RTLD_NOW | RTLD_LOCAL);
  char folder[kPathSize];
  ExecutableFolder(folder, sizeof folder);
  if (HMODULE module = LoadFromFolder(folder, file)) return module;
  return LoadFromLoaderFolders(file);
}

HMODULE LoadLibraryFromTrustedFolders(LPCSTR fileName) { return LoadLibraryA(fileName); }

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  if (module == nullptr || procName == nullptr) return nullptr;
  void* symbol = dlsym(module, procName);
  FARPROC proc = nullptr;
  static_assert(sizeof proc == sizeof symbol, "function and object pointers differ in size");
  std::memcpy(&proc, &symbol, sizeof proc);
  return proc;
}

BOOL FreeLibrary(HMODULE module) { return module != nullptr && dlclose(module) == 0; }

HMODULE LoadLibraryAtPath(LPCSTR path) {
  if (path == nullptr) return nullptr;
  // A bare file name would send dlopen through the system's search.
  char file[kPathSize];
  const char* prefix = std::strchr(path, '/') == nullptr ? "./" : "";
  if (!JoinPath(prefix, path, file, sizeof file)) return nullptr;
  return dlopen(file, RTLD_NOW | RTLD_LOCAL);
}

bool ModuleFolder(const void* address, char* out, unsigned long outSize) {
  if (outSize == 0) return false;
  out[0] = '\0';
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return false;
  const char* slash = std::strrchr(info.dli_fname, '/');
  if (slash == nullptr) return false;
  const int length = static_cast<int>(slash + 1 - info.dli_fname);
  const int n = std::snprintf(out, outSize, "%.*s", length, info.dli_fname);
  if (n == length && static_cast<unsigned long>(n) < outSize) return true;
  out[0] = '\0';
  return false;
}
