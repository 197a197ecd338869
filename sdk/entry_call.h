// Calls a library entry point through a pointer of its declared type.
#pragma once

#include <cstdint>

template <typename Fn, typename... A>
int32_t CallEntry(Fn fn, A... args) {
  return fn(args...);
}
