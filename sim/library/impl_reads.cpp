// Settings reads: flash reads for every series except where a QZT7 bridge
// answers by SCSI command; a read of the other series' kind fails.
#include "sim/library/entries.h"
#include "sim/library/impl_common.h"
#include "sim/library/session.h"

namespace sim {
namespace impl {
namespace {

enum class Reader { kAny, kT7, kOther };

bool Serves(Reader reader, const Device& d) {
  if (reader == Reader::kAny || (reader == Reader::kT7) == (d.series == Series::kT7)) return true;
  return FailWithReason(std::string("not a call of the ") + SeriesName(d.series) + " series");
}

int32_t ReadId(const char* device, Reader reader, uint16_t* id, bool vendor) {
  if (id == nullptr) return 0;
  return ReadDevice(device, [=](const Device& d) {
    if (!Serves(reader, d)) return 0;
    *id = vendor ? d.settings.vid : d.settings.pid;
    return 1;
  });
}

int32_t ReadText(const char* device, Reader reader, char* text, std::string Settings::*field) {
  if (text == nullptr) return 0;
  return ReadDevice(device, [=](const Device& d) {
    if (!Serves(reader, d)) return 0;
    return CopyOut(text, d.settings.*field) ? 1 : 0;
  });
}

int32_t ReadTimer(const char* device, Reader reader, int32_t* value) {
  if (value == nullptr) return 0;
  return ReadDevice(device, [=](const Device& d) {
    if (!Serves(reader, d)) return 0;
    *value = d.settings.standbyTimer;
    return 1;
  });
}

}  // namespace

int32_t QZ_GetVIDfromFlash(const char* device, uint16_t* id) {
  return ReadId(device, Reader::kOther, id, true);
}
int32_t QZ_GetPIDfromFlash(const char* device, uint16_t* id) {
  return ReadId(device, Reader::kOther, id, false);
}
int32_t QZ_GetT7VIDbySCSICmd(const char* device, uint16_t* id) {
  return ReadId(device, Reader::kT7, id, true);
}
int32_t QZ_GetT7PIDbySCSICmd(const char* device, uint16_t* id) {
  return ReadId(device, Reader::kT7, id, false);
}

int32_t QZ_GetSNfromFlash(const char* device, char* text) {
  return ReadText(device, Reader::kOther, text, &Settings::serial);
}
int32_t QZ_GetT7SNbySCSICmd(const char* device, char* text) {
  return ReadText(device, Reader::kT7, text, &Settings::serial);
}
int32_t QZ_GetManuStrfromFlash(const char* device, char* text) {
  return ReadText(device, Reader::kAny, text, &Settings::manufacturer);
}
int32_t QZ_GetProdStrfromFlash(const char* device, char* text) {
  return ReadText(device, Reader::kAny, text, &Settings::product);
}

// The two HDD strings in one text, joined by one blank.
int32_t QZ_GetHDDStrfromFlash(const char* device, char* text) {
  if (text == nullptr) return 0;
  return ReadDevice(device, [=](const Device& d) {
    return CopyOut(text, d.settings.hddVendor + " " + d.settings.hddProduct) ? 1 : 0;
  });
}

int32_t QZ_GetStandbyTimerfromFlash(const char* device, int32_t* value) {
  return ReadTimer(device, Reader::kOther, value);
}
int32_t QZ_GetT7StandbyTimerbySCSICmd(const char* device, int32_t* value) {
  return ReadTimer(device, Reader::kT7, value);
}

}  // namespace impl
}  // namespace sim
