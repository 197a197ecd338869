// The tool's one reading of decimal numbers (the simulator has its own).
#pragma once

#include <cstdint>
#include <string>

namespace runtime {

// One or more digits and nothing else (no sign, no blanks), at most `max`.
// Anything else leaves *value untouched.
bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t* value);

// An optional sign, then as ParseUnsigned, from `min` to `max`.
bool ParseDecimal(const std::string& text, int64_t min, int64_t max, int64_t* value);

}  // namespace runtime
