#include "ops/operations.h"

int32_t OpGetCustomizedSetting(CustomizedSetting*) { return 0; }
int32_t OpGetVendorId(uint16_t*) { return 0; }
int32_t OpGetProductId(uint16_t*) { return 0; }
int32_t OpGetManufacturerString(char*) { return 0; }
int32_t OpGetProductString(char*) { return 0; }
int32_t OpGetSerialNumber(char*) { return 0; }
int32_t OpGetHDDString(char*) { return 0; }
int32_t OpGetStandbyTimer(int32_t*) { return 0; }
