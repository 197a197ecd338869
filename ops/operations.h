// Device operations: each acts on currentDevice through ApiTable and returns a
// signed 32-bit result, nonzero for success. They print only their own fixed
// messages; the front ends report the outcome.
#pragma once

#include <cstdint>

#include "ops/customized_setting.h"

constexpr int kVersionTextSize = kLibraryTextSize;

// Running-code mode, as QZ_GetRunningCodeMode writes it.
constexpr int32_t kRunningModeUndetermined = 0;
constexpr int32_t kRunningModeInternalCode = 1;
constexpr int32_t kRunningModeFirmware = 2;

// Firmware version query.
int32_t OpGetFWVersion(char* versionText);

// Firmware update.
int32_t OpUpdateFromBin(const char* binPath);
int32_t OpUpdateNoCustomizedSetting(const char* binPath);
int32_t OpUpdateWithCustomizedSetting(const CustomizedSetting* setting, const char* binPath);

// Settings read.
int32_t OpGetCustomizedSetting(CustomizedSetting* setting);
int32_t OpGetVendorId(uint16_t* vid);
int32_t OpGetProductId(uint16_t* pid);
int32_t OpGetManufacturerString(char* text);
int32_t OpGetProductString(char* text);
int32_t OpGetSerialNumber(char* text);
int32_t OpGetHDDString(char* text);
int32_t OpGetStandbyTimer(int32_t* seconds);

// Settings write.
int32_t OpSetVendorId(const char* vidText);
int32_t OpSetProductId(const char* pidText);
int32_t OpSetSerialNumber(const char* serialNumber);
int32_t OpSetManufacturerString(const char* manufacturer);
int32_t OpSetProductString(const char* product);
int32_t OpSetStandbyTimer(int32_t seconds);
int32_t OpSetHDDString(const char* hddString1, const char* hddString2);
