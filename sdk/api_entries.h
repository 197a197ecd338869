// The firmware-update library's 86 entry points, in the order they are bound.
//
// This list is the only place the entry points are written down. Everything
// that needs them (the ApiTable fields, the names LoadApiEntries binds, the
// simulated library's exports, the recording fake) expands it with its own X.
//
//   X(name, parameter list, argument list)
//
// Every entry point returns a signed 32-bit result: nonzero success, 0 failure
// (QZ_IsQZT7Series: nonzero for a QZT7-series chip). Device calls take the
// NUL-terminated device path first. Entry points the tool never calls have the
// plain signature (device).
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QZ_CALL __cdecl
#else
#define QZ_CALL
#endif

// clang-format off
#define QZ_DEV const char* device
#define QZ_PLAIN (QZ_DEV), (device)
#define QZ_FLAG (QZ_DEV, int32_t value), (device, value)
#define QZ_TEXT_IN (QZ_DEV, const char* text), (device, text)
#define QZ_TEXT_OUT (QZ_DEV, char* text), (device, text)
#define QZ_ID_OUT (QZ_DEV, uint16_t* id), (device, id)
#define QZ_INT_OUT (QZ_DEV, int32_t* value), (device, value)

#define QZ_API_ENTRIES(X)                                                                               \
  QZ_ENTRY(X, QZ_GetSDKVersion, (char* version), (version))                                             \
  QZ_ENTRY(X, QZ_GetDeviceList, (char** devicePaths, int32_t* deviceCount), (devicePaths, deviceCount)) \
  QZ_ENTRY(X, QZ_Inquiry, QZ_PLAIN)                                                                     \
  QZ_ENTRY(X, QZ_GetChipTypeName, QZ_PLAIN)                                                             \
  QZ_ENTRY(X, QZ_GetChipType, QZ_PLAIN)                                                                 \
  QZ_ENTRY(X, QZ_GetDiskInfo, QZ_PLAIN)                                                                 \
  QZ_ENTRY(X, QZ_ChipReset, QZ_PLAIN)                                                                   \
  QZ_ENTRY(X, QZ_SafeRemove, QZ_PLAIN)                                                                  \
  QZ_ENTRY(X, QZ_DiskPartition, QZ_PLAIN)                                                               \
  QZ_ENTRY(X, QZ_DiskFormat, QZ_PLAIN)                                                                  \
  QZ_ENTRY(X, QZ_DiskRWTest, QZ_PLAIN)                                                                  \
  QZ_ENTRY(X, QZ_GetMappingLetter, QZ_PLAIN)                                                            \
  QZ_ENTRY(X, QZ_GetDiskCapacity, QZ_PLAIN)                                                             \
  QZ_ENTRY(X, QZ_SetFWBinFilePath, (const char* binPath), (binPath))                                    \
  QZ_ENTRY(X, QZ_CheckChipFW, QZ_PLAIN)                                                                 \
  QZ_ENTRY(X, QZ_CheckLoadBinFileMatch, (QZ_DEV, const char* binPath), (device, binPath))               \
  QZ_ENTRY(X, QZ_GetFlashString, QZ_PLAIN)                                                              \
  QZ_ENTRY(X, QZ_GetFWVersion, QZ_TEXT_OUT)                                                             \
  QZ_ENTRY(X, QZ_GetRunningCodeMode, QZ_INT_OUT)                                                        \
  QZ_ENTRY(X, QZ_FWUpdateProgramming, QZ_PLAIN)                                                         \
  QZ_ENTRY(X, QZ_FWUpdateProgrammingEX, QZ_PLAIN)                                                       \
  QZ_ENTRY(X, QZ_FWUpdateProgrammingNoCustomizedSetting, QZ_PLAIN)                                      \
  QZ_ENTRY(X, QZ_ActiveFirmware, QZ_PLAIN)                                                              \
  QZ_ENTRY(X, QZ_SerialFlashErase, QZ_PLAIN)                                                            \
  QZ_ENTRY(X, QZ_SetBackupFilePath, QZ_PLAIN)                                                           \
  QZ_ENTRY(X, QZ_SerialFlashBackup, QZ_PLAIN)                                                           \
  QZ_ENTRY(X, QZ_InitialCustomizedSettingTable, (), ())                                                 \
  QZ_ENTRY(X, QZ_UpdateCustomizedSetting, QZ_PLAIN)                                                     \
  QZ_ENTRY(X, QZ_EnableUpdateVID, QZ_FLAG)                                                              \
  QZ_ENTRY(X, QZ_EnableUpdatePID, QZ_FLAG)                                                              \
  QZ_ENTRY(X, QZ_EnableUpdateManuStr, QZ_FLAG)                                                          \
  QZ_ENTRY(X, QZ_EnableUpdateSN, QZ_FLAG)                                                               \
  QZ_ENTRY(X, QZ_EnableUpdateProdStr, QZ_FLAG)                                                          \
  QZ_ENTRY(X, QZ_EnableMapToHDDStr, QZ_FLAG)                                                            \
  QZ_ENTRY(X, QZ_EnableUpdateDisplayHDDStrSetting, QZ_FLAG)                                             \
  QZ_ENTRY(X, QZ_EnableUpdatePretendSuperSetting, QZ_FLAG)                                              \
  QZ_ENTRY(X, QZ_EnableUpdateUSBAttachmentFirstSetting, QZ_FLAG)                                        \
  QZ_ENTRY(X, QZ_EnableUpdateManuProdCtl, QZ_FLAG)                                                      \
  QZ_ENTRY(X, QZ_EnableUpdateInquiryCtl, QZ_FLAG)                                                       \
  QZ_ENTRY(X, QZ_EnableUpdateStandbyTimer, QZ_FLAG)                                                     \
  QZ_ENTRY(X, QZ_SetSNFromNVRAMTable, QZ_FLAG)                                                          \
  QZ_ENTRY(X, QZ_SetVIDValue, QZ_TEXT_IN)                                                               \
  QZ_ENTRY(X, QZ_SetPIDValue, QZ_TEXT_IN)                                                               \
  QZ_ENTRY(X, QZ_SetManuStr, QZ_TEXT_IN)                                                                \
  QZ_ENTRY(X, QZ_SetSerialNumStr, QZ_TEXT_IN)                                                           \
  QZ_ENTRY(X, QZ_SetProdString, QZ_TEXT_IN)                                                             \
  QZ_ENTRY(X, QZ_SetScsiVidString, QZ_TEXT_IN)                                                          \
  QZ_ENTRY(X, QZ_SetScsiPidString, QZ_TEXT_IN)                                                          \
  QZ_ENTRY(X, QZ_SetUsbManuString, QZ_TEXT_IN)                                                          \
  QZ_ENTRY(X, QZ_SetUsbProdString, QZ_TEXT_IN)                                                          \
  QZ_ENTRY(X, QZ_SetManuProdCtl, QZ_FLAG)                                                               \
  QZ_ENTRY(X, QZ_SetEnableMultiSector, QZ_FLAG)                                                         \
  QZ_ENTRY(X, QZ_SetInquiryCtl, QZ_FLAG)                                                                \
  QZ_ENTRY(X, QZ_SetUSBAttachmentFirst, QZ_FLAG)                                                        \
  QZ_ENTRY(X, QZ_SetStandbyTimer, (QZ_DEV, int32_t seconds), (device, seconds))                         \
  QZ_ENTRY(X, QZ_GetPIDfromOS, QZ_PLAIN)                                                                \
  QZ_ENTRY(X, QZ_GetVIDfromOS, QZ_PLAIN)                                                                \
  QZ_ENTRY(X, QZ_GetSNfromOS, QZ_PLAIN)                                                                 \
  QZ_ENTRY(X, QZ_GetManuStrfromOS, QZ_PLAIN)                                                            \
  QZ_ENTRY(X, QZ_GetProdStrfromOS, QZ_PLAIN)                                                            \
  QZ_ENTRY(X, QZ_GetPIDfromFlash, QZ_ID_OUT)                                                            \
  QZ_ENTRY(X, QZ_GetVIDfromFlash, QZ_ID_OUT)                                                            \
  QZ_ENTRY(X, QZ_GetSNfromFlash, QZ_TEXT_OUT)                                                           \
  QZ_ENTRY(X, QZ_GetManuStrfromFlash, QZ_TEXT_OUT)                                                      \
  QZ_ENTRY(X, QZ_GetProdStrfromFlash, QZ_TEXT_OUT)                                                      \
  QZ_ENTRY(X, QZ_GetUSBAttachmentFirstSettingfromFlash, QZ_PLAIN)                                       \
  QZ_ENTRY(X, QZ_GetStandbyTimerfromFlash, QZ_INT_OUT)                                                  \
  QZ_ENTRY(X, QZ_GetHDDStrfromFlash, QZ_TEXT_OUT)                                                       \
  QZ_ENTRY(X, QZ_GetHDDStrbySCSICmd, QZ_PLAIN)                                                          \
  QZ_ENTRY(X, QZ_GetDiskFWRevbySCSICmd, QZ_PLAIN)                                                       \
  QZ_ENTRY(X, QZ_IsQZT7Series, QZ_PLAIN)                                                                \
  QZ_ENTRY(X, QZ_UpdateT7StandbyTimer, (QZ_DEV, int32_t seconds), (device, seconds))                    \
  QZ_ENTRY(X, QZ_SetT7UpdateCustomizedSetting, QZ_PLAIN)                                                \
  QZ_ENTRY(X, QZ_SetT7KeepCustomizedSetting, QZ_PLAIN)                                                  \
  QZ_ENTRY(X, QZ_GetT7VIDbySCSICmd, QZ_ID_OUT)                                                          \
  QZ_ENTRY(X, QZ_GetT7PIDbySCSICmd, QZ_ID_OUT)                                                          \
  QZ_ENTRY(X, QZ_GetT7SNbySCSICmd, QZ_TEXT_OUT)                                                         \
  QZ_ENTRY(X, QZ_GetT7StandbyTimerbySCSICmd, QZ_INT_OUT)                                                \
  QZ_ENTRY(X, QZ_IsUASPdevice, QZ_PLAIN)                                                                \
  QZ_ENTRY(X, QZ_GetUSBSpeed, QZ_PLAIN)                                                                 \
  QZ_ENTRY(X, QZ_CheckWriteProtect, QZ_PLAIN)                                                           \
  QZ_ENTRY(X, QZ_SetSCSITimeOut, QZ_PLAIN)                                                              \
  QZ_ENTRY(X, QZ_GetHubPortIndex, QZ_PLAIN)                                                             \
  QZ_ENTRY(X, QZ_GetRootHubName, QZ_PLAIN)                                                              \
  QZ_ENTRY(X, QZ_SetDevicePath, QZ_PLAIN)                                                               \
  QZ_ENTRY(X, QZ_GetCustomizedSettingTableIndex, QZ_PLAIN)
// clang-format on

// The shorthand signatures (QZ_PLAIN, QZ_FLAG, ...) stand for two macro
// arguments; one level of indirection expands them before X sees its three.
#define QZ_ENTRY(X, ...) QZ_ENTRY_SPLIT(X, __VA_ARGS__)
#define QZ_ENTRY_SPLIT(X, name, params, args) X(name, params, args)

// Removes the parentheses of an argument list: QZ_UNPAREN args.
#define QZ_UNPAREN(...) __VA_ARGS__

#define QZ_COUNT_ONE(name, params, args) +1

namespace sdk {

constexpr int kApiEntryCount = 0 QZ_API_ENTRIES(QZ_COUNT_ONE);
static_assert(kApiEntryCount == 86, "the library contract has 86 entry points");

}  // namespace sdk
