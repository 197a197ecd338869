// The scripted front end: one option from the argument vector.
#pragma once

#include <cstdint>

namespace ui {

// device: the device the option acts on; argv: null-terminated vector,
// element 1 is the option. Returns 1 after the help page, the operation's
// result when one ran, 0 when rejected.
int32_t RunCommandLine(const char* device, const char* const* argv);

}  // namespace ui
