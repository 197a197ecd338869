// What the library keeps per process between calls: the devices listed, the
// images checked, the pending settings table, the image path, how often each
// entry point has been called, and what the current call has to tell.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sim/bridge/staging.h"

namespace sim {

struct Session {
  Staging staging;
  std::string imagePath;
  bool imagePathSet = false;
  // (device, path) of every successful QZ_CheckLoadBinFileMatch.
  std::set<std::pair<std::string, std::string>> matchedImages;
  bool listed = false;  // a QZ_GetDeviceList succeeded
  std::vector<std::string> listedPaths;
  std::map<std::string, int> callCounts;
  // Set for the current call only.
  std::string knobsError;    // why the knobs are refused, empty when they are fine
  bool interrupt = false;    // BRIDGESIM_INTERRUPT names this call
  long programMsPerKib = 0;  // BRIDGESIM_PROGRAM_MS_PER_KIB
  std::string note;          // why it failed, for the trace
};

// The process-wide session. Entry points run one at a time under EntryMutex.
Session& CurrentSession();
std::recursive_mutex& EntryMutex();

// Fails the current call for `why`: keeps the reason for its trace line (the
// first one given is the cause) and returns false.
bool FailWithReason(const std::string& why);

// Forgets everything, as a freshly loaded library would (for tests).
void ResetSessionForTest();

}  // namespace sim
