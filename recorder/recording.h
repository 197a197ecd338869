// The recorder's state: the real library it forwards to and the session file
// it appends each call to.
#pragma once

#include <string>

#include "platform/module_loader.h"
#include "sdk/api_entries.h"

namespace recorder {

constexpr const char* kRecordVariable = "BRIDGEFW_RECORD";
constexpr const char* kRealLibraryVariable = "BRIDGEFW_RECORD_LIBRARY";
constexpr const char* kDefaultSessionFileName = "QZFWUpdateDll.session.txt";
// The real library's file name, looked for beside the recorder.
#if defined(_WIN32)
constexpr const char* kRealLibraryFileName = "QZFWUpdateDll.real.dll";
#else
constexpr const char* kRealLibraryFileName = "libQZFWUpdateDll.real.so";
#endif

// Each entry point's place in the contract's list.
enum EntryIndex : int {
#define RECORDER_ENTRY_INDEX(name, params, args) k##name,
  QZ_API_ENTRIES(RECORDER_ENTRY_INDEX)
#undef RECORDER_ENTRY_INDEX
};

// The export that marks a recorder. A recorder given one (itself, a link to
// it, a copy) as the real library refuses it: forwarding to it would come
// back into a recorder without end.
constexpr const char* kRecorderMark = "BridgefwRecorder";

// This run: the real library's entry points by their place (null for a name
// it lacks, all null when it cannot be loaded or is a recorder) and the run's
// id, which each of its lines carries. It begins at the first call (never
// while the system loader runs the recorder's own start-up), and the
// session's run line is written then.
struct Run {
  FARPROC entries[sdk::kApiEntryCount] = {};
  std::string id;
};
const Run& ThisRun();

// Appends to the session file. A session that cannot be written is dropped;
// it never changes what a call returns.
void AppendToSession(const std::string& text) noexcept;

// The time of day in UTC: HH:MM:SS.mmm.
std::string TimeOfDay();

}  // namespace recorder
