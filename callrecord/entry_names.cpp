#include "callrecord/entry_names.h"

namespace callrecord {

const char* const kEntryNames[sdk::kApiEntryCount] = {
#define CALLRECORD_ENTRY_NAME(name, params, args) #name,
    QZ_API_ENTRIES(CALLRECORD_ENTRY_NAME)
#undef CALLRECORD_ENTRY_NAME
};

bool IsEntryName(const std::string& name) {
  for (const char* entry : kEntryNames) {
    if (name == entry) return true;
  }
  return false;
}

}  // namespace callrecord
