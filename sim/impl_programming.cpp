// Image checks and the three programming variants. Programming streams and
// verifies the whole image first; only then is the device's new state
// committed, in one atomic state-file change.
#include <cstdio>

#include "sim/entries.h"
#include "sim/image_format.h"
#include "sim/impl_common.h"
#include "sim/session.h"

namespace sim {
namespace impl {
namespace {

enum class SettingsSource { kImage, kKeep, kStaged };

// The settings an image's block carries (control flags stay the device's).
void TakeImageSettings(Settings& to, const Settings& from) {
  ControlFlags flags = to.flags;
  to = from;
  to.flags = flags;
}

int32_t Program(const char* device, SettingsSource source) {
  Session& session = CurrentSession();
  if (device == nullptr || !session.imagePathSet) return 0;
  if (source == SettingsSource::kStaged && !session.staging.HasStaged()) return 0;
  ImageInfo image;
  std::string error;
  if (!ReadImage(session.imagePath, &image, &error)) return 0;
  int32_t written = ChangeDevice(device, [&](Device& d) {
    if (d.series != image.series) return false;
    if (source == SettingsSource::kStaged && !session.staging.ApplyTo(d)) return false;
    if (source == SettingsSource::kImage && image.hasSettings) {
      TakeImageSettings(d.settings, image.settings);
    }
    d.mode = kModeFirmware;
    d.version = image.version;
    d.firmware.size = image.payloadSize;
    d.firmware.crc32 = image.payloadCrc;
    return true;
  });
  if (written != 0 && source == SettingsSource::kStaged) session.staging.Clear();
  return written;
}

}  // namespace

int32_t QZ_SetFWBinFilePath(const char* binPath) {
  Session& session = CurrentSession();
  if (binPath == nullptr) return 0;
  std::FILE* f = std::fopen(binPath, "rb");
  if (f == nullptr) return 0;
  std::fclose(f);
  session.imagePath = binPath;
  session.imagePathSet = true;
  return 1;
}

int32_t QZ_CheckLoadBinFileMatch(const char* device, const char* binPath) {
  if (binPath == nullptr) return 0;
  return ReadDevice(device, [binPath](const Device& d) {
    ImageInfo image;
    std::string error;
    return ReadImage(binPath, &image, &error) && image.series == d.series ? 1 : 0;
  });
}

int32_t QZ_FWUpdateProgramming(const char* device) {
  return Program(device, SettingsSource::kImage);
}

int32_t QZ_FWUpdateProgrammingNoCustomizedSetting(const char* device) {
  return Program(device, SettingsSource::kKeep);
}

int32_t QZ_FWUpdateProgrammingEX(const char* device) {
  return Program(device, SettingsSource::kStaged);
}

}  // namespace impl
}  // namespace sim
