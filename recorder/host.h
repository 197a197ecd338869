// What the recorder needs from the system: where it lies, how to load the
// real library and look up its exports.
#pragma once

#include <string>

namespace recorder {

using Proc = void (*)();

// The folder this library was loaded from, with its trailing separator;
// empty when it cannot be told.
std::string OwnFolder();

// The real library's file name, looked for beside the recorder.
extern const char* const kRealLibraryFileName;

// Loads the library at `path` for good (it stays until the process ends);
// null when it cannot be loaded. Never shows a message.
void* LoadRealLibrary(const std::string& path);

// The named export of a loaded library, or null.
Proc RealExport(void* library, const char* name);

}  // namespace recorder
