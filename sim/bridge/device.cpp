#include "sim/bridge/device.h"

#include <cstdio>

namespace sim {

bool operator==(const ControlFlags& a, const ControlFlags& b) {
  return a.manuProdCtl == b.manuProdCtl && a.inquiryCtl == b.inquiryCtl &&
         a.displayHdd == b.displayHdd && a.mapHdd == b.mapHdd && a.snFromNvram == b.snFromNvram;
}

bool operator==(const Settings& a, const Settings& b) {
  return a.vid == b.vid && a.pid == b.pid && a.manufacturer == b.manufacturer &&
         a.product == b.product && a.serial == b.serial && a.hddVendor == b.hddVendor &&
         a.hddProduct == b.hddProduct && a.standbyTimer == b.standbyTimer && a.flags == b.flags;
}

bool operator==(const Firmware& a, const Firmware& b) {
  return a.size == b.size && a.crc32 == b.crc32;
}

bool operator==(const Device& a, const Device& b) {
  return a.path == b.path && a.series == b.series && a.mode == b.mode && a.version == b.version &&
         a.settings == b.settings && a.firmware == b.firmware;
}

Settings DefaultSettings() {
  Settings s;
  s.vid = 0x3A5C;
  s.pid = 0x0101;
  s.manufacturer = "QZ Sim";
  s.product = "Sim Bridge";
  s.serial = "SIM0000000001";
  s.hddVendor = "SIMDISK";
  s.hddProduct = "VIRTUAL HDD";
  s.standbyTimer = 600;
  return s;
}

std::string DevicePathFor(std::size_t index) { return "sim" + std::to_string(index); }

Device DefaultDevice(std::size_t index, Series series) {
  Device d;
  d.path = DevicePathFor(index);
  d.series = series;
  d.mode = kModeFirmware;
  d.version = "01.02.03.04";
  d.settings = DefaultSettings();
  char serial[32];
  std::snprintf(serial, sizeof serial, "SIM%010llu",
                static_cast<unsigned long long>((index + 1) % 10000000000ULL));
  d.settings.serial = serial;
  return d;
}

const char* SeriesName(Series series) { return series == Series::kT7 ? "t7" : "other"; }

bool ParseSeries(const std::string& text, Series* series) {
  if (text == "t7") {
    *series = Series::kT7;
    return true;
  }
  if (text == "other") {
    *series = Series::kOther;
    return true;
  }
  return false;
}

bool IsDeviceText(const std::string& text, std::size_t max) {
  if (text.size() > max) return false;
  for (unsigned char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

static int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHexId(const char* text, uint16_t* id) {
  if (text == nullptr) return false;
  unsigned value = 0;
  std::size_t n = 0;
  for (; text[n] != '\0'; ++n) {
    if (n == 4) return false;
    int digit = HexValue(text[n]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  if (n == 0) return false;
  *id = static_cast<uint16_t>(value);
  return true;
}

std::string FormatHexId(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(id));
  return text;
}

bool ValidateDevice(const Device& d, std::string* error) {
  struct TextLimit {
    const char* name;
    const std::string& text;
    std::size_t max;
  };
  const TextLimit limits[] = {
      {"path", d.path, kMaxDevicePath},
      {"version", d.version, kMaxVersion},
      {"manufacturer", d.settings.manufacturer, kMaxUsbString},
      {"product", d.settings.product, kMaxUsbString},
      {"serial", d.settings.serial, kMaxSerial},
      {"hdd-vendor", d.settings.hddVendor, kMaxHddVendor},
      {"hdd-product", d.settings.hddProduct, kMaxHddProduct},
  };
  for (const TextLimit& limit : limits) {
    if (!IsDeviceText(limit.text, limit.max)) {
      *error = std::string(limit.name) + " is not 0 to " + std::to_string(limit.max) +
               " printable ASCII characters";
      return false;
    }
  }
  if (d.path.empty()) {
    *error = "path is empty";
    return false;
  }
  if (d.settings.standbyTimer < 0) {
    *error = "timer is negative";
    return false;
  }
  return true;
}

}  // namespace sim
