// The sizes of the firmware-update library's contract: the buffers the
// library writes into without being told their size. Written once, here; the
// tool, the simulated library, the recorder, the test fake and the benchmark
// floor all take them from this header (plain C, so the floor can too).
#pragma once

enum {
  kMaxDevices = 16,         // QZ_GetDeviceList fills at most 16 path buffers
  kDevicePathSize = 256,    // each 255 characters and the terminator
  kLibraryTextSize = 80,    // a setting text or the version text, 79 and the terminator
  kSdkVersionSize = 20,     // QZ_GetSDKVersion's text, 19 and the terminator
  kIdTextSize = 5,          // a vendor or product id as text: four digits and the terminator
  kFirmwarePathSize = 256,  // an image path the tool hands over, 255 and the terminator
};
