#include "sdk/library_text.h"

#include <cstdio>
#include <cstring>

#include "sdk/api_table.h"

namespace sdk {

void ReadSdkVersion(char (&text)[kSdkVersionSize]) {
  std::memset(text, 0, sizeof text);
  // Without a library (help asked for all the same) there is no version to tell.
  if (ApiTable.QZ_GetSDKVersion == nullptr) {
    std::snprintf(text, sizeof text, "%s", "(no library)");
    return;
  }
  ApiTable.QZ_GetSDKVersion(text);  // the result carries no meaning here
  TerminateLibraryText(text, sizeof text);
}

}  // namespace sdk
