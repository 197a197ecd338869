// Entry points the tool binds but never calls. Those that would need a real
// disk, the operating system's USB view or flash hardware report failure (0);
// those the emulated chip can answer report success for an attached device.
#include "sim/library/entries.h"
#include "sim/library/impl_common.h"

namespace sim {
namespace impl {

int32_t QZ_GetDiskInfo(const char*) { return 0; }
int32_t QZ_DiskPartition(const char*) { return 0; }
int32_t QZ_DiskFormat(const char*) { return 0; }
int32_t QZ_DiskRWTest(const char*) { return 0; }
int32_t QZ_GetMappingLetter(const char*) { return 0; }
int32_t QZ_GetDiskCapacity(const char*) { return 0; }
int32_t QZ_GetHDDStrbySCSICmd(const char*) { return 0; }
int32_t QZ_GetDiskFWRevbySCSICmd(const char*) { return 0; }

int32_t QZ_SerialFlashErase(const char*) { return 0; }
int32_t QZ_SetBackupFilePath(const char*) { return 0; }
int32_t QZ_SerialFlashBackup(const char*) { return 0; }

int32_t QZ_GetPIDfromOS(const char*) { return 0; }
int32_t QZ_GetVIDfromOS(const char*) { return 0; }
int32_t QZ_GetSNfromOS(const char*) { return 0; }
int32_t QZ_GetManuStrfromOS(const char*) { return 0; }
int32_t QZ_GetProdStrfromOS(const char*) { return 0; }
int32_t QZ_GetHubPortIndex(const char*) { return 0; }
int32_t QZ_GetRootHubName(const char*) { return 0; }
int32_t QZ_GetUSBSpeed(const char*) { return 0; }

// The emulated bridge is neither UASP nor write-protected, and keeps no
// USB-attachment-first setting.
int32_t QZ_IsUASPdevice(const char*) { return 0; }
int32_t QZ_CheckWriteProtect(const char*) { return 0; }
int32_t QZ_GetUSBAttachmentFirstSettingfromFlash(const char*) { return 0; }

int32_t QZ_ChipReset(const char* device) { return DeviceExists(device); }
int32_t QZ_SafeRemove(const char* device) { return DeviceExists(device); }
int32_t QZ_GetFlashString(const char* device) { return DeviceExists(device); }
int32_t QZ_ActiveFirmware(const char* device) { return DeviceExists(device); }
int32_t QZ_SetSCSITimeOut(const char* device) { return DeviceExists(device); }

}  // namespace impl
}  // namespace sim
