// The simulator's firmware image format: a header, a settings block when the
// header's flag says so, the payload (the firmware itself), and the CRC-32 of
// every byte before it. Numbers are little-endian, texts NUL-padded and
// within the device limits. The layout below is the one both the writer and
// every reader of an image go by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "sim/bridge/device.h"

namespace sim {

// Where a field lies in the header or the settings block, and its size in bytes.
struct ImageField {
  std::size_t offset;
  std::size_t size;
  constexpr std::size_t end() const { return offset + size; }
};

namespace image_header {
constexpr ImageField kMagic{0, 8};          // kImageMagic
constexpr ImageField kFormatVersion{8, 2};  // kImageFormatVersion
constexpr ImageField kSeries{10, 1};        // kImageSeriesT7 or kImageSeriesOther
constexpr ImageField kFlags{11, 1};         // kImageFlagSettings, no other bit
constexpr ImageField kVersion{12, 16};      // the firmware version, 1 to 15 characters
constexpr ImageField kPayloadSize{28, 8};
constexpr std::size_t kSize = kPayloadSize.end();
}  // namespace image_header

namespace image_settings {
constexpr ImageField kVid{0, 2};
constexpr ImageField kPid{2, 2};
constexpr ImageField kStandbyTimer{4, 4};  // signed, 0 or more
constexpr ImageField kManufacturer{8, 64};
constexpr ImageField kProduct{72, 64};
constexpr ImageField kSerial{136, 32};
constexpr ImageField kHddVendor{168, 16};
constexpr ImageField kHddProduct{184, 32};
constexpr std::size_t kSize = kHddProduct.end();
}  // namespace image_settings

constexpr char kImageMagic[image_header::kMagic.size] = {'Q', 'Z', 'S', 'I', 'M', 'I', 'M', 'G'};
constexpr uint16_t kImageFormatVersion = 1;
constexpr uint8_t kImageSeriesT7 = 1;
constexpr uint8_t kImageSeriesOther = 2;
constexpr uint8_t kImageFlagSettings = 0x01;
constexpr std::size_t kImageHeaderSize = image_header::kSize;
constexpr std::size_t kImageSettingsSize = image_settings::kSize;
// After the payload: the CRC-32 of every byte before it.
constexpr ImageField kImageCrc{0, 4};
constexpr std::size_t kImageCrcSize = kImageCrc.size;

// A number field's value, read from the bytes of the header or settings block.
uint64_t ImageFieldValue(const unsigned char* bytes, ImageField field);

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
