#include "ops/operations.h"

int32_t OpUpdateFromBin(const char*) { return 0; }
int32_t OpUpdateNoCustomizedSetting(const char*) { return 0; }
int32_t OpUpdateWithCustomizedSetting(const CustomizedSetting*, const char*) { return 0; }
