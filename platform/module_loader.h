// The four Windows module-loading calls, everywhere, the tool's one way of
// loading the maker's library, and what the recorder needs to load the real
// one beside itself.
//
// On Windows these are the real Win32 calls. Elsewhere a thin layer gives
// them the same meaning over dlopen/dlsym/dlclose:
//   - a module name "X" or "X.dll" stands for the library file "libX.so";
//   - GetModuleHandleA finds a module already loaded in the process by its
//     file name, wherever it was loaded from, without loading anything;
//   - LoadLibraryA looks in the executable's own folder first, then in the
//     loader's folders in its order (LD_LIBRARY_PATH, then the system's
//     default folders), skipping every empty or relative entry: the current
//     directory is never searched. Folders known only to the loader's cache
//     are not searched either.
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

// The library file that a module name maps to ("QZFWUpdateDll.dll" and
// "QZFWUpdateDll" both give "libQZFWUpdateDll.so"). Exposed for tests.
const char* PlatformLibraryFileName(LPCSTR moduleName, char* out, unsigned long outSize);

#endif

// Loads a library that is not yet in the process from the executable's folder
// or the system's folders only. The tool runs elevated, so no folder that an
// ordinary user may write (the current directory, PATH) is searched; the
// libraries it needs come from the same folders. Null when it is not found.
HMODULE LoadLibraryFromTrustedFolders(LPCSTR fileName);

// Loads the library file at exactly `path` (UTF-8; a bare file name is the
// one in the current folder), never showing a message; on Windows its own
// dependencies are looked for in its folder first. Null when it cannot be
// loaded.
HMODULE LoadLibraryAtPath(LPCSTR path);

// The folder of the loaded module (program or library) whose code holds
// `address`, as UTF-8 with its trailing separator; false, with the empty
// text, when it cannot be told or does not fit `outSize`.
bool ModuleFolder(const void* address, char* out, unsigned long outSize);
