// The four Windows module-loading calls (and SetDllDirectoryA), everywhere.
//
// On Windows these are the real Win32 calls. Elsewhere a thin layer gives
// them the same meaning over dlopen/dlsym/dlclose:
//   - a module name "X" or "X.dll" stands for the library file "libX.so";
//   - GetModuleHandleA finds a module already loaded in the process by its
//     file name, wherever it was loaded from, without loading anything;
//   - LoadLibraryA looks in the executable's own folder first, then in the
//     system's order (LD_LIBRARY_PATH, ld.so cache, default folders); the
//     current directory is never searched;
//   - SetDllDirectoryA does nothing, as the current directory is never searched.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else

using HMODULE = void*;
using FARPROC = void (*)();
using BOOL = int;
using LPCSTR = const char*;

HMODULE GetModuleHandleA(LPCSTR moduleName);
HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);
BOOL SetDllDirectoryA(LPCSTR pathName);

// The library file that a module name maps to ("QZFWUpdateDll.dll" and
// "QZFWUpdateDll" both give "libQZFWUpdateDll.so"). Exposed for tests.
const char* PlatformLibraryFileName(LPCSTR moduleName, char* out, unsigned long outSize);

#endif
