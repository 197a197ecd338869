#include "sdk/library_text.h"

#include <cstring>

#include "sdk/api_table.h"

void ReadSdkVersion(char (&text)[kSdkVersionSize]) {
  std::memset(text, 0, sizeof text);
  ApiTable.QZ_GetSDKVersion(text);  // the result carries no meaning here
  TerminateLibraryText(text, sizeof text);
}
