#include "ops/operations.h"

int32_t OpSetVendorId(const char*) { return 0; }
int32_t OpSetProductId(const char*) { return 0; }
int32_t OpSetSerialNumber(const char*) { return 0; }
int32_t OpSetManufacturerString(const char*) { return 0; }
int32_t OpSetProductString(const char*) { return 0; }
int32_t OpSetStandbyTimer(int32_t) { return 0; }
int32_t OpSetHDDString(const char*, const char*) { return 0; }
