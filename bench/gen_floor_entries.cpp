// Writes the entry-point list as a C header for the floor program, so the C
// side binds exactly the names (and signatures) of sdk/api_entries.h, which
// itself only compiles as C++.
#include <cstdio>

#include "sdk/api_entries.h"

namespace {

struct Entry {
  const char* name;
  const char* params;
};

// Parameter lists arrive fully expanded, e.g. "(const char* device, int32_t value)".
#define FLOOR_ENTRY_ROW(name, params, args) {#name, #params},
constexpr Entry kEntries[] = {QZ_API_ENTRIES(FLOOR_ENTRY_ROW)};
#undef FLOOR_ENTRY_ROW

static_assert(sizeof kEntries / sizeof kEntries[0] == sdk::kApiEntryCount, "entry list incomplete");

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.h\n", argv[0]);
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out,
               "/* Generated from sdk/api_entries.h by gen_floor_entries; do not edit. */\n"
               "#pragma once\n#include <stdint.h>\n\n"
               "#define FLOOR_API_ENTRY_COUNT %d\n\n"
               "/* X(name, parameter list) in binding order. */\n"
               "#define FLOOR_API_ENTRIES(X) \\\n",
               sdk::kApiEntryCount);
  for (const Entry& e : kEntries) {
    // An empty list means "no arguments", which C spells (void).
    const bool none = e.params[0] == '(' && e.params[1] == ')';
    std::fprintf(out, "  X(%s, %s) \\\n", e.name, none ? "(void)" : e.params);
  }
  std::fprintf(out, "  /* end */\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
