#include "sim/commands/image_command.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/files.h"
#include "sim/bridge/crc32.h"
#include "sim/bridge/decimal.h"
#include "sim/bridge/fields.h"
#include "sim/bridge/image_format.h"

namespace sim {
namespace {

constexpr const char* kUsage =
    "usage: bridgesim-image --out FILE --series t7|other --version TEXT\n"
    "                       [--vid HEX] [--pid HEX] [--manufacturer TEXT] [--product TEXT]\n"
    "                       [--serial TEXT] [--hdd-vendor TEXT] [--hdd-product TEXT]\n"
    "                       [--timer SECONDS] [--payload-size BYTES]\n"
    "       bridgesim-image --check FILE\n"
    "       bridgesim-image --corrupt FILE\n"
    "Any setting option adds a settings block; settings not given take the defaults.\n";

constexpr uint64_t kDefaultPayloadSize = uint64_t{64} * 1024;

// Options that fill the settings block, by the field each sets.
const std::map<std::string, Field> kSettingOptions = {
    {"--vid", Field::kVid},
    {"--pid", Field::kPid},
    {"--manufacturer", Field::kManufacturer},
    {"--product", Field::kProduct},
    {"--serial", Field::kSerial},
    {"--hdd-vendor", Field::kHddVendor},
    {"--hdd-product", Field::kHddProduct},
    {"--timer", Field::kTimer},
};

bool ParseSize(const std::string& text, uint64_t* size) {
  long value = 0;
  if (text.empty() || text[0] == '+' || text[0] == '-' ||
      !ParseDecimal(text, 0, LONG_MAX, &value)) {
    return false;
  }
  *size = static_cast<uint64_t>(value);
  return true;
}

int Misuse(std::ostream& err, const std::string& why) {
  err << "bridgesim-image: " << why << "\n" << kUsage;
  return 2;
}

int Corrupt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return Misuse(err, "--corrupt takes one FILE");
  std::string error;
  if (!CorruptImage(args[1], &error)) {
    err << "bridgesim-image: " << error << "\n";
    return 1;
  }
  out << "corrupted " << args[1] << "\n";
  return 0;
}

// Says whether the bridge would take the image, and if not, why.
int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return Misuse(err, "--check takes one FILE");
  ImageInfo info;
  std::string error;
  if (!ReadImage(args[1], &info, &error)) {
    out << args[1] << ": bad: " << error << "\n";
    return 1;
  }
  out << args[1] << ": good: series " << SeriesName(info.series) << ", version " << info.version
      << ", payload " << info.payloadSize << " bytes, crc32 " << Crc32Text(info.payloadCrc)
      << (info.hasSettings ? ", settings block" : ", no settings block") << "\n";
  return 0;
}

}  // namespace

bool CorruptImage(const std::string& path, std::string* error) {
  std::FILE* f = platform::OpenRegularFile(path, error, platform::FileAccess::kUpdate);
  if (f == nullptr) return false;
  unsigned char header[kImageHeaderSize];
  bool ok = std::fread(header, 1, sizeof header, f) == sizeof header;
  long at = static_cast<long>(image_header::kVersion.offset);
  if (ok) {
    const uint64_t payload = ImageFieldValue(header, image_header::kPayloadSize);
    const bool settings = (ImageFieldValue(header, image_header::kFlags) & kImageFlagSettings) != 0;
    const auto start = static_cast<long>(kImageHeaderSize + (settings ? kImageSettingsSize : 0));
    if (payload > 0 && payload < (1ull << 40)) at = start + static_cast<long>(payload / 2);
  }
  unsigned char byte = 0;
  ok = ok && std::fseek(f, at, SEEK_SET) == 0 && std::fread(&byte, 1, 1, f) == 1;
  byte ^= 0xFF;
  ok = ok && std::fseek(f, at, SEEK_SET) == 0 && std::fwrite(&byte, 1, 1, f) == 1;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) *error = "cannot corrupt " + path + " (too short?)";
  return ok;
}

int RunImageCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
    out << kUsage;
    return 0;
  }
  if (!args.empty() && args[0] == "--corrupt") return Corrupt(args, out, err);
  if (!args.empty() && args[0] == "--check") return Check(args, out, err);
  std::string outPath;
  bool haveSeries = false;
  ImageInfo info;
  info.settings = DefaultSettings();
  info.payloadSize = kDefaultPayloadSize;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) return Misuse(err, option + " needs a value");
    const std::string& value = args[i + 1];
    auto setting = kSettingOptions.find(option);
    if (option == "--out") {
      outPath = value;
    } else if (option == "--series") {
      if (!ParseSeries(value, &info.series)) return Misuse(err, "series is t7 or other");
      haveSeries = true;
    } else if (option == "--version") {
      if (value.empty() || !IsDeviceText(value, kMaxVersion)) {
        return Misuse(err, "the device cannot hold --version '" + value + "'");
      }
      info.version = value;
    } else if (option == "--payload-size") {
      if (!ParseSize(value, &info.payloadSize)) return Misuse(err, "bad payload size " + value);
    } else if (setting != kSettingOptions.end()) {
      if (!StoreFieldText(info.settings, setting->second, value)) {
        return Misuse(err, "the device cannot hold " + option + " '" + value + "'");
      }
      info.hasSettings = true;
    } else {
      return Misuse(err, "unknown option " + option);
    }
  }
  if (outPath.empty() || !haveSeries || info.version.empty()) {
    return Misuse(err, "--out, --series and --version are required");
  }
  // The payload depends on series and version, so each image is its own firmware.
  std::string seedText = std::string(SeriesName(info.series)) + "/" + info.version;
  std::string error;
  if (!WriteImage(outPath, info, PatternPayload(ComputeCrc32(seedText.data(), seedText.size())),
                  &error)) {
    err << "bridgesim-image: " << error << "\n";
    return 1;
  }
  out << "wrote " << outPath << "\n";
  return 0;
}

}  // namespace sim
