#include "sim/bridge/image_format.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/files.h"
#include "sim/bridge/crc32.h"

namespace sim {
namespace {

constexpr uint8_t kSeriesT7 = 1;
constexpr uint8_t kSeriesOther = 2;
constexpr uint8_t kFlagSettings = 0x01;
constexpr std::size_t kVersionField = 16;

struct TextSlot {
  std::string Settings::*text;
  std::size_t offset;
  std::size_t size;
  std::size_t limit;
};

constexpr TextSlot kTextSlots[] = {
    {&Settings::manufacturer, 8, 64, kMaxUsbString},
    {&Settings::product, 72, 64, kMaxUsbString},
    {&Settings::serial, 136, 32, kMaxSerial},
    {&Settings::hddVendor, 168, 16, kMaxHddVendor},
    {&Settings::hddProduct, 184, 32, kMaxHddProduct},
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void PutLe(std::string& out, std::size_t at, uint64_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i)
    out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint64_t GetLe(const unsigned char* in, std::size_t bytes) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

bool PutText(std::string& out, std::size_t at, std::size_t size, const std::string& text,
             std::size_t limit) {
  if (!IsDeviceText(text, limit) || text.size() >= size) return false;
  std::memcpy(&out[at], text.data(), text.size());
  return true;
}

// A NUL-padded text field: must end within the field and hold device text.
bool GetText(const unsigned char* in, std::size_t size, std::size_t limit, std::string* text) {
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
  if (std::memcmp(h, kImageMagic, sizeof kImageMagic) != 0) {
    *error = "not a firmware image (bad magic)";
    return false;
  }
  if (GetLe(h + 8, 2) != kImageFormatVersion) {
    *error = "unsupported image format version " + std::to_string(GetLe(h + 8, 2));
    return false;
  }
  if (h[10] == kSeriesT7) {
    info->series = Series::kT7;
  } else if (h[10] == kSeriesOther) {
    info->series = Series::kOther;
  } else {
    *error = "unknown target series " + std::to_string(h[10]);
    return false;
  }
  if ((h[11] & ~kFlagSettings) != 0) {
    *error = "unknown image flags";
    return false;
  }
  info->hasSettings = (h[11] & kFlagSettings) != 0;
  if (!GetText(h + 12, kVersionField, kMaxVersion, &info->version) || info->version.empty()) {
    *error = "bad version text";
    return false;
  }
  info->payloadSize = GetLe(h + 28, 8);
  return true;
}

bool DecodeSettings(const unsigned char* s, Settings* settings, std::string* error) {
  settings->vid = static_cast<uint16_t>(GetLe(s, 2));
  settings->pid = static_cast<uint16_t>(GetLe(s + 2, 2));
  settings->standbyTimer = static_cast<int32_t>(static_cast<uint32_t>(GetLe(s + 4, 4)));
  if (settings->standbyTimer < 0) {
    *error = "negative standby timer in settings block";
    return false;
  }
  for (const TextSlot& slot : kTextSlots) {
    if (!GetText(s + slot.offset, slot.size, slot.limit, &(settings->*slot.text))) {
      *error = "bad text in settings block";
      return false;
    }
  }
  return true;
}

}  // namespace

bool EncodeImageHead(const ImageInfo& info, std::string* head, std::string* error) {
  std::string out(kImageHeaderSize + (info.hasSettings ? kImageSettingsSize : 0), '\0');
  std::memcpy(&out[0], kImageMagic, sizeof kImageMagic);
  PutLe(out, 8, kImageFormatVersion, 2);
  out[10] = static_cast<char>(info.series == Series::kT7 ? kSeriesT7 : kSeriesOther);
  out[11] = static_cast<char>(info.hasSettings ? kFlagSettings : 0);
  if (info.version.empty() || !PutText(out, 12, kVersionField, info.version, kMaxVersion)) {
    *error = "version must be 1 to " + std::to_string(kMaxVersion) + " printable characters";
    return false;
  }
  PutLe(out, 28, info.payloadSize, 8);
  if (info.hasSettings) {
    const Settings& s = info.settings;
    if (s.standbyTimer < 0) {
      *error = "standby timer must be 0 or more";
      return false;
    }
    std::size_t base = kImageHeaderSize;
    PutLe(out, base, s.vid, 2);
    PutLe(out, base + 2, s.pid, 2);
    PutLe(out, base + 4, static_cast<uint32_t>(s.standbyTimer), 4);
    for (const TextSlot& slot : kTextSlots) {
      if (!PutText(out, base + slot.offset, slot.size, s.*slot.text, slot.limit)) {
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
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    *error = "cannot create " + path;
    return false;
  }
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
  PutLe(tail, 0, crc.value(), kImageCrcSize);
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
  if (static_cast<uint32_t>(GetLe(tail, kImageCrcSize)) != crc.value()) {
    char text[64];
    std::snprintf(text, sizeof text, "CRC mismatch: stored %08X, computed %08X",
                  static_cast<unsigned>(GetLe(tail, kImageCrcSize)),
                  static_cast<unsigned>(crc.value()));
    *error = text;
    return false;
  }
  parsed.payloadCrc = payloadCrc.value();
  *info = std::move(parsed);
  return true;
}

}  // namespace sim
