// One emulated bridge: what its flash holds and the limits of what it can hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sdk/api_sizes.h"

namespace sim {

enum class Series { kT7, kOther };

// Longest texts the emulated flash keeps. Every text a read writes, with its
// terminator, fits the library contract's text buffers with room to spare.
constexpr std::size_t kMaxHddVendor = 8;    // SCSI inquiry vendor field
constexpr std::size_t kMaxHddProduct = 16;  // SCSI inquiry product field
constexpr std::size_t kMaxSerial = 31;
constexpr std::size_t kMaxUsbString = 63;  // manufacturer and product
constexpr std::size_t kMaxVersion = 15;
constexpr std::size_t kMaxDevicePath = 31;
static_assert(kMaxUsbString < kLibraryTextSize &&
                  kMaxHddVendor + 1 + kMaxHddProduct < kLibraryTextSize,
              "every text a read writes fits the contract's buffer");
static_assert(kMaxDevicePath < kDevicePathSize, "a device path fits the contract's buffer");

constexpr const char* kSdkVersion = "SIM 1.0.0.0";
constexpr const char* kInternalCodeVersion = "00.00.00.00";

// Running-code modes as the library reports them.
constexpr int32_t kModeUnknown = 0;
constexpr int32_t kModeInternal = 1;
constexpr int32_t kModeFirmware = 2;

struct ControlFlags {
  bool manuProdCtl = false;
  bool inquiryCtl = false;
  bool displayHdd = false;
  bool mapHdd = false;
  bool snFromNvram = false;
};

// The customized settings in the bridge's flash.
struct Settings {
  uint16_t vid = 0;
  uint16_t pid = 0;
  std::string manufacturer;
  std::string product;
  std::string serial;
  std::string hddVendor;
  std::string hddProduct;
  int32_t standbyTimer = 0;
  ControlFlags flags;
};

// What identifies the programmed firmware: its payload's size and CRC-32.
struct Firmware {
  uint64_t size = 0;
  uint32_t crc32 = 0;
};

struct Device {
  std::string path;
  Series series = Series::kOther;
  int32_t mode = kModeFirmware;
  std::string version;
  Settings settings;
  Firmware firmware;
};

bool operator==(const ControlFlags& a, const ControlFlags& b);
bool operator==(const Settings& a, const Settings& b);
bool operator==(const Firmware& a, const Firmware& b);
bool operator==(const Device& a, const Device& b);

// The settings a fresh bridge leaves the factory with.
Settings DefaultSettings();

// The device a fresh state holds at `index` (path "simN", serial numbered too).
Device DefaultDevice(std::size_t index, Series series = Series::kOther);

std::string DevicePathFor(std::size_t index);

const char* SeriesName(Series series);
bool ParseSeries(const std::string& text, Series* series);

// True for 0..max printable ASCII characters: what the emulated flash stores.
bool IsDeviceText(const std::string& text, std::size_t max);

// Accepts 1 to 4 hexadecimal digits and nothing else.
bool ParseHexId(const char* text, uint16_t* id);

// Four upper-case hexadecimal digits.
std::string FormatHexId(uint16_t id);

// Checks every field against the device limits; names the first bad one.
bool ValidateDevice(const Device& device, std::string* error);

}  // namespace sim
