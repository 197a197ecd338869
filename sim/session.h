// What the library keeps per process between calls: the pending settings
// table, the image path, and how often each entry point has been called.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "sim/staging.h"

namespace sim {

struct Session {
  Staging staging;
  std::string imagePath;
  bool imagePathSet = false;
  std::map<std::string, int> callCounts;
};

// The process-wide session. Entry points run one at a time under EntryMutex.
Session& CurrentSession();
std::recursive_mutex& EntryMutex();

// Forgets everything, as a freshly loaded library would (for tests).
void ResetSessionForTest();

}  // namespace sim
