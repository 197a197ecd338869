// The settings staging calls: which enable opens which field, which setter
// fills it, on which series, and the commit.
#include "sim/entries.h"
#include "sim/impl_common.h"
#include "sim/session.h"
#include "sim/state_store.h"

namespace sim {
namespace impl {
namespace {

using F = Field;
using S = SeriesRule;

// On a QZT7 bridge the manufacturer/product control opens both USB strings and
// the inquiry control both HDD strings; elsewhere each USB string has its own
// enable and the display-HDD-string setting opens the HDD strings, which the
// map-to-HDD-string setting then builds on.
const EnableRule kEnableVid{S::kBoth, Fields({F::kVid}), {}, {}};
const EnableRule kEnablePid{S::kBoth, Fields({F::kPid}), {}, {}};
const EnableRule kEnableSerial{S::kBoth, Fields({F::kSerial, F::kSnFromNvram}), {}, {}};
const EnableRule kEnableTimer{S::kBoth, Fields({F::kTimer}), {}, {}};
const EnableRule kEnableManuProdCtl{
    S::kT7Only, Fields({F::kManufacturer, F::kProduct, F::kManuProdCtl}), {}, {}};
const EnableRule kEnableInquiryCtl{
    S::kT7Only, Fields({F::kHddVendor, F::kHddProduct, F::kInquiryCtl}), {}, {}};
const EnableRule kEnableManufacturer{S::kOtherOnly, Fields({F::kManufacturer}), {}, {}};
const EnableRule kEnableProduct{S::kOtherOnly, Fields({F::kProduct}), {}, {}};
const EnableRule kEnableDisplayHdd{S::kOtherOnly,
                                   Fields({F::kHddVendor, F::kHddProduct, F::kDisplayHdd}),
                                   {},
                                   Fields({F::kDisplayHdd})};
const EnableRule kEnableMapHdd{S::kOtherOnly, Fields({F::kMapHdd}), Fields({F::kDisplayHdd}),
                               Fields({F::kMapHdd})};
// Settings this emulation does not keep: accepted on both series, no effect.
const EnableRule kEnableUnkept{S::kBoth, {}, {}, {}};

int32_t Enable(const char* device, const EnableRule& rule, int32_t value) {
  return ReadDevice(device, [&](const Device& d) {
    return CurrentSession().staging.Enable(d, rule, value) ? 1 : 0;
  });
}

int32_t SetText(const char* device, SeriesRule series, Field field, const char* text) {
  return ReadDevice(device, [&](const Device& d) {
    return CurrentSession().staging.SetText(d, SetterRule{series, field}, text) ? 1 : 0;
  });
}

int32_t SetNumber(const char* device, SeriesRule series, Field field, int32_t value) {
  return ReadDevice(device, [&](const Device& d) {
    return CurrentSession().staging.SetNumber(d, SetterRule{series, field}, value) ? 1 : 0;
  });
}

}  // namespace

int32_t QZ_InitialCustomizedSettingTable() {
  Session& session = CurrentSession();
  session.staging.Clear();
  if (session.listedPaths.empty()) return Refuse("no device listed by QZ_GetDeviceList before");
  State state;
  std::string error;
  if (!StateStore::FromEnvironment().Load(&state, &error)) return Refuse(error);
  session.staging.Start();
  return 1;
}

int32_t QZ_UpdateCustomizedSetting(const char* device) {
  Staging& staging = CurrentSession().staging;
  if (!staging.HasStaged()) return 0;
  int32_t written = ChangeDevice(device, [&](Device& d) { return staging.ApplyTo(d); });
  if (written != 0) staging.Clear();
  return written;
}

int32_t QZ_EnableUpdateVID(const char* device, int32_t value) {
  return Enable(device, kEnableVid, value);
}
int32_t QZ_EnableUpdatePID(const char* device, int32_t value) {
  return Enable(device, kEnablePid, value);
}
int32_t QZ_EnableUpdateSN(const char* device, int32_t value) {
  return Enable(device, kEnableSerial, value);
}
int32_t QZ_EnableUpdateStandbyTimer(const char* device, int32_t value) {
  return Enable(device, kEnableTimer, value);
}
int32_t QZ_EnableUpdateManuProdCtl(const char* device, int32_t value) {
  return Enable(device, kEnableManuProdCtl, value);
}
int32_t QZ_EnableUpdateInquiryCtl(const char* device, int32_t value) {
  return Enable(device, kEnableInquiryCtl, value);
}
int32_t QZ_EnableUpdateManuStr(const char* device, int32_t value) {
  return Enable(device, kEnableManufacturer, value);
}
int32_t QZ_EnableUpdateProdStr(const char* device, int32_t value) {
  return Enable(device, kEnableProduct, value);
}
int32_t QZ_EnableUpdateDisplayHDDStrSetting(const char* device, int32_t value) {
  return Enable(device, kEnableDisplayHdd, value);
}
int32_t QZ_EnableMapToHDDStr(const char* device, int32_t value) {
  return Enable(device, kEnableMapHdd, value);
}
int32_t QZ_EnableUpdatePretendSuperSetting(const char* device, int32_t value) {
  return Enable(device, kEnableUnkept, value);
}
int32_t QZ_EnableUpdateUSBAttachmentFirstSetting(const char* device, int32_t value) {
  return Enable(device, kEnableUnkept, value);
}

int32_t QZ_SetVIDValue(const char* device, const char* text) {
  return SetText(device, S::kBoth, F::kVid, text);
}
int32_t QZ_SetPIDValue(const char* device, const char* text) {
  return SetText(device, S::kBoth, F::kPid, text);
}
int32_t QZ_SetSerialNumStr(const char* device, const char* text) {
  return SetText(device, S::kBoth, F::kSerial, text);
}
int32_t QZ_SetScsiVidString(const char* device, const char* text) {
  return SetText(device, S::kBoth, F::kHddVendor, text);
}
int32_t QZ_SetScsiPidString(const char* device, const char* text) {
  return SetText(device, S::kBoth, F::kHddProduct, text);
}
int32_t QZ_SetManuStr(const char* device, const char* text) {
  return SetText(device, S::kOtherOnly, F::kManufacturer, text);
}
int32_t QZ_SetProdString(const char* device, const char* text) {
  return SetText(device, S::kOtherOnly, F::kProduct, text);
}
int32_t QZ_SetUsbManuString(const char* device, const char* text) {
  return SetText(device, S::kT7Only, F::kManufacturer, text);
}
int32_t QZ_SetUsbProdString(const char* device, const char* text) {
  return SetText(device, S::kT7Only, F::kProduct, text);
}
int32_t QZ_SetStandbyTimer(const char* device, int32_t seconds) {
  return SetNumber(device, S::kBoth, F::kTimer, seconds);
}
int32_t QZ_SetManuProdCtl(const char* device, int32_t value) {
  return SetNumber(device, S::kT7Only, F::kManuProdCtl, value);
}
int32_t QZ_SetInquiryCtl(const char* device, int32_t value) {
  return SetNumber(device, S::kT7Only, F::kInquiryCtl, value);
}
int32_t QZ_SetSNFromNVRAMTable(const char* device, int32_t value) {
  return SetNumber(device, S::kOtherOnly, F::kSnFromNvram, value);
}
int32_t QZ_SetEnableMultiSector(const char* device, int32_t value) {
  return SetNumber(device, S::kBoth, F::kCount, value);
}
int32_t QZ_SetUSBAttachmentFirst(const char* device, int32_t value) {
  return SetNumber(device, S::kBoth, F::kCount, value);
}

int32_t QZ_UpdateT7StandbyTimer(const char* device, int32_t seconds) {
  if (seconds < 0) return 0;
  return ChangeDevice(device, [seconds](Device& d) {
    if (d.series != Series::kT7) return false;
    d.settings.standbyTimer = seconds;
    return true;
  });
}

// QZT7 programming options this emulation does not distinguish.
int32_t QZ_SetT7UpdateCustomizedSetting(const char* device) {
  return ReadDevice(device, [](const Device& d) { return d.series == Series::kT7 ? 1 : 0; });
}
int32_t QZ_SetT7KeepCustomizedSetting(const char* device) {
  return ReadDevice(device, [](const Device& d) { return d.series == Series::kT7 ? 1 : 0; });
}

int32_t QZ_GetCustomizedSettingTableIndex(const char* device) { return DeviceExists(device); }

}  // namespace impl
}  // namespace sim
