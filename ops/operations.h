// Device operations: each acts on the device path it is given, through
// ApiTable, and returns a signed 32-bit result, nonzero for success. A null
// device means none is listed: the operation refuses and calls nothing. They
// print only their own fixed messages; the front ends report the outcome.
#pragma once

#include <cstdint>

#include "ops/customized_setting.h"

namespace ops {

// Running-code mode, as QZ_GetRunningCodeMode writes it.
constexpr int32_t kRunningModeUndetermined = 0;
constexpr int32_t kRunningModeInternalCode = 1;
constexpr int32_t kRunningModeFirmware = 2;

// What OpGetFWVersion writes for a bridge running its internal code.
constexpr const char* kInternalCodeText = "Internal code";

// Firmware version query.
int32_t OpGetFWVersion(const char* device, char* versionText);

// Firmware update. Each starts with the image check, which is also usable
// alone (a dry run): false, with "Bin file not match \n", when the library
// refuses the image for the device.
bool ImageMatchesDevice(const char* device, const char* binPath);
int32_t OpUpdateFromBin(const char* device, const char* binPath);
int32_t OpUpdateNoCustomizedSetting(const char* device, const char* binPath);
int32_t OpUpdateWithCustomizedSetting(const char* device, const CustomizedSetting* setting,
                                      const char* binPath);

// Settings read.
int32_t OpGetCustomizedSetting(const char* device, CustomizedSetting* setting);
int32_t OpGetVendorId(const char* device, uint16_t* vid);
int32_t OpGetProductId(const char* device, uint16_t* pid);
int32_t OpGetManufacturerString(const char* device, char* text);
int32_t OpGetProductString(const char* device, char* text);
int32_t OpGetSerialNumber(const char* device, char* text);
int32_t OpGetHDDString(const char* device, char* text);
int32_t OpGetStandbyTimer(const char* device, int32_t* seconds);

// Settings write.
int32_t OpSetVendorId(const char* device, const char* vidText);
int32_t OpSetProductId(const char* device, const char* pidText);
int32_t OpSetSerialNumber(const char* device, const char* serialNumber);
int32_t OpSetManufacturerString(const char* device, const char* manufacturer);
int32_t OpSetProductString(const char* device, const char* product);
int32_t OpSetStandbyTimer(const char* device, int32_t seconds);
int32_t OpSetHDDString(const char* device, const char* hddString1, const char* hddString2);

// Several settings in one commit, without an image: Init, the series, the
// selected settings' calls of the update with settings (in its order, each
// once), QZ_UpdateCustomizedSetting; a QZT7 bridge's timer afterwards by
// QZ_UpdateT7StandbyTimer, as OpSetStandbyTimer writes it. The selection's
// texts are tested as their single writers test them. Returns the commit's
// result (1 when only a QZT7 timer was written), 0 on any failure.
int32_t OpSetCustomizedSettings(const char* device, uint32_t selection,
                                const CustomizedSetting* setting);

}  // namespace ops
