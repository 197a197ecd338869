// Image checks and the three programming variants. Programming streams and
// verifies the whole image first, takes its time, and only then commits the
// device's new state, in one atomic state-file change.
#include <cstdio>

#include "platform/files.h"
#include "platform/process.h"
#include "sim/bridge/image_format.h"
#include "sim/library/entries.h"
#include "sim/library/impl_common.h"
#include "sim/library/knobs.h"
#include "sim/library/session.h"

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

// Whether the device can take the image now (checked before the wait and
// again on the state as it is after it).
bool Takes(const Device& d, const ImageInfo& image, SettingsSource source) {
  if (d.series != image.series) return FailWithReason("the image is for the other series");
  if (source == SettingsSource::kKeep && d.mode != kModeFirmware) {
    return FailWithReason("the bridge does not run regular firmware");
  }
  return true;
}

// The flash after a programming that finished, or lost power halfway.
bool Flash(Device& d, const ImageInfo& image, SettingsSource source, bool powerLost) {
  if (powerLost) {
    // Halfway through: the flash holds no firmware, and the bridge falls
    // back to its internal code; the settings area is untouched.
    d.mode = kModeInternal;
    d.version.clear();
    d.firmware = Firmware();
    return true;
  }
  std::string why;
  if (source == SettingsSource::kStaged && !CurrentSession().staging.ApplyTo(d, &why)) {
    return FailWithReason(why);
  }
  if (source == SettingsSource::kImage && image.hasSettings) {
    TakeImageSettings(d.settings, image.settings);
  }
  d.mode = kModeFirmware;
  d.version = image.version;
  d.firmware.size = image.payloadSize;
  d.firmware.crc32 = image.payloadCrc;
  return true;
}

// Programming takes its time (BRIDGESIM_PROGRAM_MS_PER_KIB) with no state
// lock held, so units in other processes go on meanwhile; the change is then
// made on the state as it is after the wait, which may lack the unit now.
int32_t Program(const char* device, SettingsSource source) {
  Session& session = CurrentSession();
  if (!Listed(device)) return 0;
  if (!session.imagePathSet) return FailWithReason("no QZ_SetFWBinFilePath before");
  if (session.matchedImages.count({device, session.imagePath}) == 0) {
    return FailWithReason("no successful QZ_CheckLoadBinFileMatch of this device and image");
  }
  if (source == SettingsSource::kStaged && !session.staging.HasStaged()) {
    return FailWithReason("nothing staged");
  }
  ImageInfo image;
  std::string error;
  if (!ReadImage(session.imagePath, &image, &error)) return FailWithReason(error);
  const bool powerLost = session.interrupt;
  const int ms = ProgrammingMs(image.payloadSize, session.programMsPerKib);
  if (ms > 0) {
    if (ReadDevice(device, [&](const Device& d) { return Takes(d, image, source) ? 1 : 0; }) == 0)
      return 0;
    platform::SleepMilliseconds(powerLost ? ms / 2 : ms);
  }
  int32_t written = ChangeDevice(device, [&](Device& d) {
    return Takes(d, image, source) && Flash(d, image, source, powerLost);
  });
  if (powerLost) {
    return written != 0
               ? FailWithReason(
                     "power lost halfway (BRIDGESIM_INTERRUPT): the bridge runs its internal code")
               : 0;
  }
  if (written != 0 && source == SettingsSource::kStaged) session.staging.Clear();
  return written;
}

}  // namespace

int32_t QZ_SetFWBinFilePath(const char* binPath) {
  Session& session = CurrentSession();
  if (binPath == nullptr) return FailWithReason("no path");
  // Paths come as the maker's library takes them: in the ANSI code page on Windows.
  const std::string path = platform::PathFromLibrary(binPath);
  std::string error;
  std::FILE* f = platform::OpenRegularFile(path, &error);
  if (f == nullptr) return FailWithReason(error);
  std::fclose(f);
  session.imagePath = path;
  session.imagePathSet = true;
  return 1;
}

int32_t QZ_CheckLoadBinFileMatch(const char* device, const char* binPath) {
  if (binPath == nullptr) return FailWithReason("no path");
  const std::string path = platform::PathFromLibrary(binPath);
  return ReadDevice(device, [device, &path](const Device& d) {
    ImageInfo image;
    std::string error;
    if (!ReadImage(path, &image, &error)) return FailWithReason(error) ? 1 : 0;
    if (image.series != d.series)
      return FailWithReason("the image is for the other series") ? 1 : 0;
    CurrentSession().matchedImages.insert({device, path});
    return 1;
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
