#include "sim/bridge/image_format.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/files.h"
#include "sim/bridge/crc32.h"

namespace sim {
namespace {

// The settings block's texts: the setting, its field and the device's limit.
struct TextSlot {
  std::string Settings::*text;
  ImageField field;
  std::size_t limit;
};

constexpr TextSlot kTextSlots[] = {
    {&Settings::manufacturer, image_settings::kManufacturer, kMaxUsbString},
    {&Settings::product, image_settings::kProduct, kMaxUsbString},
    {&Settings::serial, image_settings::kSerial, kMaxSerial},
    {&Settings::hddVendor, image_settings::kHddVendor, kMaxHddVendor},
    {&Settings::hddProduct, image_settings::kHddProduct, kMaxHddProduct},
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Writes a number into the field of the part that starts at `base` of `out`.
void PutNumber(std::string& out, std::size_t base, ImageField field, uint64_t value) {
  for (std::size_t i = 0; i < field.size; ++i)
    out[base + field.offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool PutText(std::string& out, std::size_t base, ImageField field, const std::string& text,
             std::size_t limit) {
  if (!IsDeviceText(text, limit) || text.size() >= field.size) return false;
  std::memcpy(&out[base + field.offset], text.data(), text.size());
  return true;
}

// A NUL-padded text field: must end within the field and hold device text.
bool GetText(const unsigned char* bytes, ImageField field, std::size_t limit, std::string* text) {
  const unsigned char* in = bytes + field.offset;
  const std::size_t size = field.size;
  const void* end = std::memchr(in, 0, size);
  if (end == nullptr) return false;
  std::string value(reinterpret_cast<const char*>(in), static_cast<const unsigned char*>(end) - in);
  if (!IsDeviceText(value, limit)) return false;
  *text = std::move(value);
  return true;
}

bool ReadExactly(std::FILE* f, unsigned char* data, std::size_t size, Crc32* crc) {
  if (std::fread(data, 1, size, f) != size) return false;
  if (crc != nullptr) crc->Update(data, size);
  return true;
}

bool DecodeHeader(const unsigned char* h, ImageInfo* info, std::string* error) {
  using namespace image_header;
  if (std::memcmp(h + kMagic.offset, kImageMagic, kMagic.size) != 0) {
    *error = "not a firmware image (bad magic)";
    return false;
  }
  const uint64_t format = ImageFieldValue(h, kFormatVersion);
  if (format != kImageFormatVersion) {
    *error = "unsupported image format version " + std::to_string(format);
    return false;
  }
  const uint64_t series = ImageFieldValue(h, kSeries);
  if (series == kImageSeriesT7) {
    info->series = Series::kT7;
  } else if (series == kImageSeriesOther) {
    info->series = Series::kOther;
  } else {
    *error = "unknown target series " + std::to_string(series);
    return false;
  }
  const uint64_t flags = ImageFieldValue(h, kFlags);
  if ((flags & ~uint64_t{kImageFlagSettings}) != 0) {
    *error = "unknown image flags";
    return false;
  }
  info->hasSettings = (flags & kImageFlagSettings) != 0;
  if (!GetText(h, kVersion, kMaxVersion, &info->version) || info->version.empty()) {
    *error = "bad version text";
    return false;
  }
  info->payloadSize = ImageFieldValue(h, kPayloadSize);
  return true;
}

bool DecodeSettings(const unsigned char* s, Settings* settings, std::string* error) {
  using namespace image_settings;
  settings->vid = static_cast<uint16_t>(ImageFieldValue(s, kVid));
  settings->pid = static_cast<uint16_t>(ImageFieldValue(s, kPid));
  settings->standbyTimer =
      static_cast<int32_t>(static_cast<uint32_t>(ImageFieldValue(s, kStandbyTimer)));
  if (settings->standbyTimer < 0) {
    *error = "negative standby timer in settings block";
    return false;
  }
  for (const TextSlot& slot : kTextSlots) {
    if (!GetText(s, slot.field, slot.limit, &(settings->*slot.text))) {
      *error = "bad text in settings block";
      return false;
    }
  }
  return true;
}

}  // namespace

uint64_t ImageFieldValue(const unsigned char* bytes, ImageField field) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < field.size; ++i) {
    value |= static_cast<uint64_t>(bytes[field.offset + i]) << (8 * i);
  }
  return value;
}

bool EncodeImageHead(const ImageInfo& info, std::string* head, std::string* error) {
  using namespace image_header;
  std::string out(kImageHeaderSize + (info.hasSettings ? kImageSettingsSize : 0), '\0');
  std::memcpy(&out[kMagic.offset], kImageMagic, kMagic.size);
  PutNumber(out, 0, kFormatVersion, kImageFormatVersion);
  PutNumber(out, 0, kSeries, info.series == Series::kT7 ? kImageSeriesT7 : kImageSeriesOther);
  PutNumber(out, 0, kFlags, info.hasSettings ? kImageFlagSettings : 0);
  if (info.version.empty() || !PutText(out, 0, kVersion, info.version, kMaxVersion)) {
    *error = "version must be 1 to " + std::to_string(kMaxVersion) + " printable characters";
    return false;
  }
  PutNumber(out, 0, kPayloadSize, info.payloadSize);
  if (info.hasSettings) {
    const Settings& s = info.settings;
    if (s.standbyTimer < 0) {
      *error = "standby timer must be 0 or more";
      return false;
    }
    const std::size_t base = kImageHeaderSize;
    PutNumber(out, base, image_settings::kVid, s.vid);
    PutNumber(out, base, image_settings::kPid, s.pid);
    PutNumber(out, base, image_settings::kStandbyTimer, static_cast<uint32_t>(s.standbyTimer));
    for (const TextSlot& slot : kTextSlots) {
      if (!PutText(out, base, slot.field, s.*slot.text, slot.limit)) {
        *error = "a setting text is longer than the device holds or not printable";
        return false;
      }
    }
  }
  *head = std::move(out);
  return true;
}

PayloadFiller PatternPayload(uint32_t seed) {
  return [seed](uint64_t offset, unsigned char* data, std::size_t size) {
    // The seed enters before the multiply and the folding brings its bits
    // to the top, so every seed gives its own bytes (a splitmix64 step).
    const uint64_t base = (uint64_t{seed} << 32 | seed) * 0xBF58476D1CE4E5B9ull;
    for (std::size_t i = 0; i < size; ++i) {
      uint64_t x = (offset + i + base) * 0x9E3779B97F4A7C15ull;
      x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
      x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
      data[i] = static_cast<unsigned char>((x ^ (x >> 31)) >> 56);
    }
  };
}

bool WriteImage(const std::string& path, const ImageInfo& info, const PayloadFiller& payload,
                std::string* error) {
  std::string head;
  if (!EncodeImageHead(info, &head, error)) return false;
  File f(platform::OpenRegularFile(path, error, platform::FileAccess::kCreate));
  if (!f) return false;
  Crc32 crc;
  crc.Update(head.data(), head.size());
  bool ok = std::fwrite(head.data(), 1, head.size(), f.get()) == head.size();
  std::vector<unsigned char> chunk(kImageChunkSize);
  for (uint64_t done = 0; ok && done < info.payloadSize;) {
    uint64_t left = info.payloadSize - done;
    std::size_t n = left < chunk.size() ? static_cast<std::size_t>(left) : chunk.size();
    payload(done, chunk.data(), n);
    crc.Update(chunk.data(), n);
    ok = std::fwrite(chunk.data(), 1, n, f.get()) == n;
    done += n;
  }
  std::string tail(kImageCrcSize, '\0');
  PutNumber(tail, 0, kImageCrc, crc.value());
  ok = ok && std::fwrite(tail.data(), 1, tail.size(), f.get()) == tail.size();
  ok = (std::fclose(f.release()) == 0) && ok;
  if (!ok) *error = "cannot write " + path;
  return ok;
}

bool ReadImage(const std::string& path, ImageInfo* info, std::string* error) {
  File f(platform::OpenRegularFile(path, error));
  return f && ReadImageFrom(f.get(), info, error);
}

bool ReadImageFrom(std::FILE* file, ImageInfo* info, std::string* error) {
  std::FILE* f = file;
  Crc32 crc;
  unsigned char header[kImageHeaderSize];
  if (!ReadExactly(f, header, sizeof header, &crc)) {
    *error = "truncated image header";
    return false;
  }
  ImageInfo parsed;
  if (!DecodeHeader(header, &parsed, error)) return false;
  if (parsed.hasSettings) {
    unsigned char block[kImageSettingsSize];
    if (!ReadExactly(f, block, sizeof block, &crc)) {
      *error = "truncated settings block";
      return false;
    }
    if (!DecodeSettings(block, &parsed.settings, error)) return false;
  }
  Crc32 payloadCrc;
  std::vector<unsigned char> chunk(kImageChunkSize);
  for (uint64_t done = 0; done < parsed.payloadSize;) {
    uint64_t left = parsed.payloadSize - done;
    std::size_t n = left < chunk.size() ? static_cast<std::size_t>(left) : chunk.size();
    if (!ReadExactly(f, chunk.data(), n, &payloadCrc)) {
      *error = "truncated payload: the header announces " + std::to_string(parsed.payloadSize) +
               " bytes";
      return false;
    }
    done += n;
  }
  // The payload is hashed once; the whole-image CRC follows from it.
  crc.Append(payloadCrc, parsed.payloadSize);
  unsigned char tail[kImageCrcSize];
  if (!ReadExactly(f, tail, sizeof tail, nullptr)) {
    *error = "truncated image (no CRC)";
    return false;
  }
  if (std::fgetc(f) != EOF) {
    *error = "data after the image's CRC";
    return false;
  }
  const auto stored = static_cast<uint32_t>(ImageFieldValue(tail, kImageCrc));
  if (stored != crc.value()) {
    *error = "CRC mismatch: stored " + Crc32Text(stored) + ", computed " + Crc32Text(crc.value());
    return false;
  }
  parsed.payloadCrc = payloadCrc.value();
  *info = std::move(parsed);
  return true;
}

}  // namespace sim
