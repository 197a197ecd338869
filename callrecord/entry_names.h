// The entry points' names, in the contract's order, for the texts that name
// them: call lines, knobs, the recorder's bindings.
#pragma once

#include <string>

#include "sdk/api_entries.h"

namespace callrecord {

extern const char* const kEntryNames[sdk::kApiEntryCount];

bool IsEntryName(const std::string& name);

}  // namespace callrecord
