// The one rule for numbers typed by the user (-st, -ue -t, menu answers).
#pragma once

#include <cstdint>

namespace ui {

// Accepts an optional sign followed by one or more decimal digits whose value
// fits a signed 32-bit integer; anything else (empty text, blanks, letters, a
// lone sign, overflow) is refused and leaves *value untouched.
bool ParseDecimalInt32(const char* text, int32_t* value);

}  // namespace ui
