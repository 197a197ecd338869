// Copying a user's text into a fixed field of the tool.
#pragma once

#include <cstddef>

namespace ui {

// Copies text, terminator included, into dest (size bytes) and zeroes the
// rest of the field, so the field holds that text alone whatever it held
// before. A text that does not fit (size - 1 characters at most) is refused:
// false, and dest is left untouched.
bool CopyBoundedText(char* dest, size_t size, const char* text);

}  // namespace ui
