#include "ops/setting_table.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ops/operations.h"

namespace ops {

namespace {

using Setting = CustomizedSetting;

std::string Joined(const Setting& write) {
  return std::string(write.hddString1) + " " + write.hddString2;
}

void Copy(char* field, const char* text) { std::snprintf(field, kLibraryTextSize, "%s", text); }

std::string PlannedId(const char* text) {
  return IdText(static_cast<uint16_t>(std::strtoul(text, nullptr, 16)));
}

}  // namespace

std::string IdText(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", id);
  return text;
}

// clang-format off
const SettingRow kSettingRows[kSettingCount] = {
    {"vid", kSettingVid, SettingRule::kHexId, 'v', {"vid", nullptr}, true, kIdTextSize,
     [](Setting& w, int) -> char* { return w.vidText; },
     [](const Setting& r) { return IdText(r.vid); },
     [](const Setting& w) { return PlannedId(w.vidText); },
     [](const Setting& r, Setting* w) { std::snprintf(w->vidText, kIdTextSize, "%s", IdText(r.vid).c_str()); },
     [](const char* d, Setting* r) { return OpGetVendorId(d, &r->vid); }},
    {"pid", kSettingPid, SettingRule::kHexId, 'p', {"pid", nullptr}, true, kIdTextSize,
     [](Setting& w, int) -> char* { return w.pidText; },
     [](const Setting& r) { return IdText(r.pid); },
     [](const Setting& w) { return PlannedId(w.pidText); },
     [](const Setting& r, Setting* w) { std::snprintf(w->pidText, kIdTextSize, "%s", IdText(r.pid).c_str()); },
     [](const char* d, Setting* r) { return OpGetProductId(d, &r->pid); }},
    {"manufacturer", kSettingManufacturer, SettingRule::kNonEmptyText, 'm', {"manufacturer", nullptr}, true,
     kLibraryTextSize,
     [](Setting& w, int) -> char* { return w.manufacturer; },
     [](const Setting& r) { return std::string(r.manufacturer); },
     [](const Setting& w) { return std::string(w.manufacturer); },
     [](const Setting& r, Setting* w) { Copy(w->manufacturer, r.manufacturer); },
     [](const char* d, Setting* r) { return OpGetManufacturerString(d, r->manufacturer); }},
    {"product", kSettingProduct, SettingRule::kNonEmptyText, 'i', {"product", nullptr}, true,
     kLibraryTextSize,
     [](Setting& w, int) -> char* { return w.product; },
     [](const Setting& r) { return std::string(r.product); },
     [](const Setting& w) { return std::string(w.product); },
     [](const Setting& r, Setting* w) { Copy(w->product, r.product); },
     [](const char* d, Setting* r) { return OpGetProductString(d, r->product); }},
    {"serial", kSettingSerial, SettingRule::kNonEmptyText, 's', {"serial", nullptr}, false,
     kLibraryTextSize,
     [](Setting& w, int) -> char* { return w.serialNumber; },
     [](const Setting& r) { return std::string(r.serialNumber); },
     [](const Setting& w) { return std::string(w.serialNumber); },
     [](const Setting& r, Setting* w) { Copy(w->serialNumber, r.serialNumber); },
     [](const char* d, Setting* r) { return OpGetSerialNumber(d, r->serialNumber); }},
    // Written as two texts, read back as one: the unit's own cannot be taken apart.
    {"hdd", kSettingHdd, SettingRule::kText, 'n', {"hdd1", "hdd2"}, false, kLibraryTextSize,
     [](Setting& w, int part) -> char* { return part == 0 ? w.hddString1 : w.hddString2; },
     [](const Setting& r) { return std::string(r.hddString); },
     Joined,
     [](const Setting&, Setting*) {},
     [](const char* d, Setting* r) { return OpGetHDDString(d, r->hddString); }},
    {"timer", kSettingTimer, SettingRule::kSeconds, 't', {"timer", nullptr}, true, 0,
     [](Setting&, int) -> char* { return nullptr; },
     [](const Setting& r) { return std::to_string(r.standbyTimer); },
     [](const Setting& w) { return std::to_string(w.standbyTimer); },
     [](const Setting& r, Setting* w) { w->standbyTimer = r.standbyTimer; },
     [](const char* d, Setting* r) { return OpGetStandbyTimer(d, &r->standbyTimer); }},
};
// clang-format on

const SettingRow* FindSettingRow(const std::string& name, int* part) {
  for (const SettingRow& row : kSettingRows) {
    for (int at = 0; at < 2; ++at) {
      if (name != row.name && (row.parts[at] == nullptr || name != row.parts[at])) continue;
      if (part != nullptr) *part = name == row.name ? 0 : at;
      return &row;
    }
  }
  return nullptr;
}

const char* WantedTextFault(const SettingRow& row, const char* text) {
  if (row.rule == SettingRule::kSeconds) return nullptr;  // a number, checked as one
  const std::size_t length = std::strlen(text);
  if (row.rule == SettingRule::kHexId) {
    bool hex = length >= 1 && length <= 4;
    for (std::size_t at = 0; hex && at < length; ++at) {
      hex = std::isxdigit(static_cast<unsigned char>(text[at])) != 0;
    }
    return hex ? nullptr : "must be 1 to 4 hex digits";
  }
  if (length >= row.capacity) return "is longer than 79";
  if (row.rule == SettingRule::kNonEmptyText && length == 0) return "is empty";
  return nullptr;
}

bool ReadAsWanted(const SettingRow& row, const CustomizedSetting& write,
                  const CustomizedSetting& read) {
  if (row.bit != kSettingHdd) return row.readText(read) == row.plannedText(write);
  const std::string got = read.hddString;
  const std::string first = write.hddString1, second = write.hddString2;
  if (got.compare(0, first.size(), first) != 0) return false;
  std::size_t at = got.find_first_not_of(' ', first.size());
  if (at == std::string::npos) at = got.size();
  if (got.compare(at, second.size(), second) != 0) return false;
  return got.find_first_not_of(' ', at + second.size()) == std::string::npos;
}

}  // namespace ops
