// Texts the library writes into the tool's buffers.
#pragma once

#include <cstddef>

#include "sdk/api_sizes.h"

namespace sdk {

// The library is told no buffer size; ending every buffer it wrote with a
// terminator keeps a misbehaving library from making the tool read past it.
// A well-terminated text is left as it is.
inline void TerminateLibraryText(char* buffer, size_t size) {
  if (size > 0) buffer[size - 1] = '\0';
}

// Zeroes the buffer and has the library write its version text into it (the
// empty text when it writes nothing).
void ReadSdkVersion(char (&text)[kSdkVersionSize]);

}  // namespace sdk
