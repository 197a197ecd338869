// The simulator's firmware image format (all numbers little-endian):
//
//   offset  size  field
//        0     8  magic "QZSIMIMG"
//        8     2  format version, 1
//       10     1  target series: 1 QZT7, 2 other
//       11     1  flags: bit 0 set when a settings block follows; others 0
//       12    16  firmware version text, 1 to 15 printable characters, NUL-padded
//       28     8  payload size in bytes
//       36   216  settings block, only when flag bit 0 is set:
//                   +0 vid (2), +2 pid (2), +4 standby timer (4, signed, >= 0),
//                   +8 manufacturer (64), +72 product (64), +136 serial (32),
//                   +168 HDD vendor (16), +184 HDD product (32): texts NUL-padded
//                   and within the device limits
//        .     n  payload (the firmware itself)
//     last     4  CRC-32 of every byte before it
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "sim/bridge/device.h"

namespace sim {

constexpr char kImageMagic[8] = {'Q', 'Z', 'S', 'I', 'M', 'I', 'M', 'G'};
constexpr uint16_t kImageFormatVersion = 1;
constexpr std::size_t kImageHeaderSize = 36;
constexpr std::size_t kImageSettingsSize = 216;
constexpr std::size_t kImageCrcSize = 4;
// Images are read in pieces of this size, never whole.
constexpr std::size_t kImageChunkSize = std::size_t{64} * 1024;

struct ImageInfo {
  Series series = Series::kOther;
  std::string version;
  bool hasSettings = false;
  // vid, pid, the five texts and the timer; control flags are not carried.
  Settings settings;
  uint64_t payloadSize = 0;
  uint32_t payloadCrc = 0;  // filled by ReadImage
};

// The bytes before the payload: header and, if present, the settings block.
// False if the version or a setting cannot be represented.
bool EncodeImageHead(const ImageInfo& info, std::string* head, std::string* error);

// Fills `size` payload bytes that belong at `offset` of the payload.
using PayloadFiller = std::function<void(uint64_t offset, unsigned char* data, std::size_t size)>;

// The built-in payload: a pattern that depends on the seed, so different
// images give different firmware digests.
PayloadFiller PatternPayload(uint32_t seed);

// Writes a complete image, streaming the payload in chunks.
bool WriteImage(const std::string& path, const ImageInfo& info, const PayloadFiller& payload,
                std::string* error);

// Reads the whole image in chunks and verifies its structure and CRC. On
// success `info` describes it (with the payload's own CRC as a digest); on
// failure `error` says what is wrong. Only a regular file is read.
bool ReadImage(const std::string& path, ImageInfo* info, std::string* error);
bool ReadImageFrom(std::FILE* file, ImageInfo* info, std::string* error);

}  // namespace sim
