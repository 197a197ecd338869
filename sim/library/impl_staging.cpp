// The settings staging calls: which enable opens which field, which setter
// fills it, on which series, and the commit.
#include "sim/bridge/state_store.h"
#include "sim/library/entries.h"
#include "sim/library/impl_common.h"
#include "sim/library/session.h"

namespace sim {
namespace impl {
namespace {

// On a QZT7 bridge the manufacturer/product control opens both USB strings and
// the inquiry control both HDD strings; elsewhere each USB string has its own
// enable and the display-HDD-string setting opens the HDD strings, which the
// map-to-HDD-string setting then builds on.
const EnableRule kEnableVid{SeriesRule::kBoth, Fields({Field::kVid}), {}, {}};
const EnableRule kEnablePid{SeriesRule::kBoth, Fields({Field::kPid}), {}, {}};
const EnableRule kEnableSerial{
    SeriesRule::kBoth, Fields({Field::kSerial, Field::kSnFromNvram}), {}, {}};
const EnableRule kEnableTimer{SeriesRule::kBoth, Fields({Field::kTimer}), {}, {}};
const EnableRule kEnableManuProdCtl{
    SeriesRule::kT7Only,
    Fields({Field::kManufacturer, Field::kProduct, Field::kManuProdCtl}),
    {},
    {}};
const EnableRule kEnableInquiryCtl{
    SeriesRule::kT7Only,
    Fields({Field::kHddVendor, Field::kHddProduct, Field::kInquiryCtl}),
    {},
    {}};
const EnableRule kEnableManufacturer{
    SeriesRule::kOtherOnly, Fields({Field::kManufacturer}), {}, {}};
const EnableRule kEnableProduct{SeriesRule::kOtherOnly, Fields({Field::kProduct}), {}, {}};
const EnableRule kEnableDisplayHdd{
    SeriesRule::kOtherOnly,
    Fields({Field::kHddVendor, Field::kHddProduct, Field::kDisplayHdd}),
    {},
    Fields({Field::kDisplayHdd})};
const EnableRule kEnableMapHdd{SeriesRule::kOtherOnly, Fields({Field::kMapHdd}),
                               Fields({Field::kDisplayHdd}), Fields({Field::kMapHdd})};
// Settings this emulation does not keep: accepted on both series, no effect.
const EnableRule kEnableUnkept{SeriesRule::kBoth, {}, {}, {}};

// 1 when the staging table took the call, else 0 with the table's reason.
int32_t Staged(bool taken, const std::string& why) {
  if (!taken) FailWithReason(why);
  return taken ? 1 : 0;
}

int32_t Enable(const char* device, const EnableRule& rule, int32_t value) {
  return ReadDevice(device, [&](const Device& d) {
    std::string why;
    return Staged(CurrentSession().staging.Enable(d, rule, value, &why), why);
  });
}

int32_t SetText(const char* device, SeriesRule series, Field field, const char* text) {
  return ReadDevice(device, [&](const Device& d) {
    std::string why;
    return Staged(CurrentSession().staging.SetText(d, SetterRule{series, field}, text, &why), why);
  });
}

int32_t SetNumber(const char* device, SeriesRule series, Field field, int32_t value) {
  return ReadDevice(device, [&](const Device& d) {
    std::string why;
    return Staged(CurrentSession().staging.SetNumber(d, SetterRule{series, field}, value, &why),
                  why);
  });
}

}  // namespace

int32_t QZ_InitialCustomizedSettingTable() {
  Session& session = CurrentSession();
  session.staging.Clear();
  if (session.listedPaths.empty())
    return FailWithReason("no device listed by QZ_GetDeviceList before");
  State state;
  std::string error;
  if (!StateStore::FromEnvironment().Load(&state, &error)) return FailWithReason(error);
  session.staging.Start();
  return 1;
}

int32_t QZ_UpdateCustomizedSetting(const char* device) {
  Staging& staging = CurrentSession().staging;
  if (!staging.HasStaged()) return 0;
  int32_t written = ChangeDevice(device, [&](Device& d) {
    std::string why;
    return staging.ApplyTo(d, &why) || FailWithReason(why);
  });
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
  return SetText(device, SeriesRule::kBoth, Field::kVid, text);
}
int32_t QZ_SetPIDValue(const char* device, const char* text) {
  return SetText(device, SeriesRule::kBoth, Field::kPid, text);
}
int32_t QZ_SetSerialNumStr(const char* device, const char* text) {
  return SetText(device, SeriesRule::kBoth, Field::kSerial, text);
}
int32_t QZ_SetScsiVidString(const char* device, const char* text) {
  return SetText(device, SeriesRule::kBoth, Field::kHddVendor, text);
}
int32_t QZ_SetScsiPidString(const char* device, const char* text) {
  return SetText(device, SeriesRule::kBoth, Field::kHddProduct, text);
}
int32_t QZ_SetManuStr(const char* device, const char* text) {
  return SetText(device, SeriesRule::kOtherOnly, Field::kManufacturer, text);
}
int32_t QZ_SetProdString(const char* device, const char* text) {
  return SetText(device, SeriesRule::kOtherOnly, Field::kProduct, text);
}
int32_t QZ_SetUsbManuString(const char* device, const char* text) {
  return SetText(device, SeriesRule::kT7Only, Field::kManufacturer, text);
}
int32_t QZ_SetUsbProdString(const char* device, const char* text) {
  return SetText(device, SeriesRule::kT7Only, Field::kProduct, text);
}
int32_t QZ_SetStandbyTimer(const char* device, int32_t seconds) {
  return SetNumber(device, SeriesRule::kBoth, Field::kTimer, seconds);
}
int32_t QZ_SetManuProdCtl(const char* device, int32_t value) {
  return SetNumber(device, SeriesRule::kT7Only, Field::kManuProdCtl, value);
}
int32_t QZ_SetInquiryCtl(const char* device, int32_t value) {
  return SetNumber(device, SeriesRule::kT7Only, Field::kInquiryCtl, value);
}
int32_t QZ_SetSNFromNVRAMTable(const char* device, int32_t value) {
  return SetNumber(device, SeriesRule::kOtherOnly, Field::kSnFromNvram, value);
}
int32_t QZ_SetEnableMultiSector(const char* device, int32_t value) {
  return SetNumber(device, SeriesRule::kBoth, Field::kCount, value);
}
int32_t QZ_SetUSBAttachmentFirst(const char* device, int32_t value) {
  return SetNumber(device, SeriesRule::kBoth, Field::kCount, value);
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
