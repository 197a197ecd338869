#include "ops/operations.h"

int32_t OpGetFWVersion(char*) { return 0; }
