#include "line/profile.h"

#include <toml++/toml.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace {

constexpr size_t kMaxText = kLibraryTextSize - 1;

struct Key {
  const char* name;
  uint32_t setting;  // 0: not a setting
  char* text;        // the record field a text key fills, or null
  size_t capacity;
};

bool Printable(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

bool IsHexId(const std::string& text) {
  if (text.empty() || text.size() > 4) return false;
  for (unsigned char c : text) {
    if (!std::isxdigit(c)) return false;
  }
  return true;
}

// The {n} or {n:WIDTH} in a serial: how many, and whether each is well formed.
bool CheckPlaceholders(const std::string& serial, bool* numbered) {
  *numbered = false;
  for (size_t at = 0; at < serial.size(); ++at) {
    if (serial[at] == '}') return false;
    if (serial[at] != '{') continue;
    const size_t close = serial.find('}', at);
    if (*numbered || close == std::string::npos) return false;
    const std::string inside = serial.substr(at + 1, close - at - 1);
    const bool widthOk =
        inside.size() > 2 && inside.size() <= 4 && inside.compare(0, 2, "n:") == 0 &&
        std::isdigit(static_cast<unsigned char>(inside[2])) &&
        (inside.size() == 3 || std::isdigit(static_cast<unsigned char>(inside[3])));
    if (inside != "n" && !widthOk) return false;
    *numbered = true;
    at = close;
  }
  return true;
}

bool IsAbsolute(const std::string& path) {
  return (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
         (path.size() > 1 && path[1] == ':');
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string CounterPath(const Profile& profile) { return profile.path + ".counter"; }

std::string FillSerial(const std::string& serial, uint64_t n) {
  const size_t open = serial.find('{');
  if (open == std::string::npos) return serial;
  const size_t close = serial.find('}', open);
  const int width = close - open > 2 ? std::atoi(serial.c_str() + open + 3) : 0;
  std::string number = std::to_string(n);
  if (static_cast<int>(number.size()) < width) number.insert(0, width - number.size(), '0');
  return serial.substr(0, open) + number + serial.substr(close + 1);
}

bool LoadProfile(const std::string& path, Profile* profile, std::string* why) {
  *profile = Profile();
  profile->path = path;
  // Read whole, as every file of the tool is (never blocking on a FIFO), and
  // parsed from memory: no file stream, whose locale set-up alone costs more
  // memory than the rest of the parse.
  std::string text;
  bool missing = false;
  std::string unread;
  if (!platform::ReadFileText(path, &text, &missing, &unread)) {
    *why = path + ":0: File could not be opened for reading";
    return false;
  }
  toml::parse_result parsed = toml::parse(text, path);
  if (!parsed) {
    const toml::parse_error& error = parsed.error();
    *why = path + ":" + std::to_string(error.source().begin.line) + ": " +
           std::string(error.description());
    return false;
  }
  CustomizedSetting& v = profile->values;
  const Key keys[] = {
      {"image", 0, nullptr, 0},
      {"vid", kSettingVid, v.vidText, sizeof v.vidText},
      {"pid", kSettingPid, v.pidText, sizeof v.pidText},
      {"manufacturer", kSettingManufacturer, v.manufacturer, sizeof v.manufacturer},
      {"product", kSettingProduct, v.product, sizeof v.product},
      {"serial", kSettingSerial, v.serialNumber, sizeof v.serialNumber},
      {"hdd1", kSettingHdd, v.hddString1, sizeof v.hddString1},
      {"hdd2", kSettingHdd, v.hddString2, sizeof v.hddString2},
      {"timer", kSettingTimer, nullptr, 0},
      {"serial_start", 0, nullptr, 0},
  };
  const toml::table& table = parsed.table();
  std::string error;
  long hddLine[2] = {0, 0};
  long imageLine = 0;
  long serialStartLine = 0;
  for (auto&& [key, node] : table) {
    const std::string name(key.str());
    const long line = static_cast<long>(key.source().begin.line);
    const auto fault = [&](const std::string& what) {
      *why = path + ":" + std::to_string(line) + ": " + name + ": " + what;
      return false;
    };
    const Key* known = nullptr;
    for (const Key& candidate : keys) {
      if (name == candidate.name) known = &candidate;
    }
    if (known == nullptr) return fault("unknown key");
    if (name == "timer" || name == "serial_start") {
      const toml::value<int64_t>* number = node.as_integer();
      const int64_t most = name == "timer" ? INT32_MAX : INT64_MAX / 2;
      if (number == nullptr || number->get() < 0 || number->get() > most) {
        return fault("must be a whole number from 0 to " + std::to_string(most));
      }
      if (name == "timer") {
        v.standbyTimer = static_cast<int32_t>(number->get());
        profile->settings |= kSettingTimer;
      } else {
        profile->serialStart = static_cast<uint64_t>(number->get());
        serialStartLine = line;
      }
      continue;
    }
    const toml::value<std::string>* value = node.as_string();
    if (value == nullptr) return fault("must be a text");
    const std::string& text = value->get();
    if (!Printable(text)) return fault("must be printable text");
    if (name == "image") {
      profile->image = IsAbsolute(text) ? text : FolderOf(path) + text;
      imageLine = line;
      if (text.empty() || profile->image.size() >= kFirmwarePathSize) {
        return fault("must be a path of 1 to " + std::to_string(kFirmwarePathSize - 1) +
                     " characters");
      }
      std::string unopened;
      std::FILE* image = platform::OpenRegularFile(profile->image, &unopened);
      if (image == nullptr) return fault("cannot open " + profile->image);
      std::fclose(image);
      if (!platform::LibraryPath(profile->image, &profile->libraryImage) ||
          profile->libraryImage.size() >= kFirmwarePathSize) {
        return fault("the library cannot be given " + profile->image +
                     ": a character outside the system's code page, and no short name of 1 to " +
                     std::to_string(kFirmwarePathSize - 1) + " characters");
      }
      continue;
    }
    if ((name == "vid" || name == "pid") && !IsHexId(text))
      return fault("must be 1 to 4 hex digits");
    if (name == "serial") {
      if (!CheckPlaceholders(text, &profile->numberedSerial)) {
        return fault("takes one {n} or {n:WIDTH} (WIDTH 1 to 99) and no other braces");
      }
      profile->serial = text;
    }
    if (text.size() > kMaxText) return fault("is longer than " + std::to_string(kMaxText));
    // What the single writers refuse empty.
    if ((name == "manufacturer" || name == "product" || name == "serial") && text.empty()) {
      return fault("is empty");
    }
    std::memcpy(known->text, text.c_str(), text.size() + 1);
    profile->settings |= known->setting;
    if (name == "hdd1" || name == "hdd2") hddLine[name == "hdd2"] = line;
  }
  const auto fault = [&](long line, const std::string& what) {
    *why = path + ":" + std::to_string(line) + ": " + what;
    return false;
  };
  // The library takes the two HDD strings together and reads them back as
  // one, so a unit's own cannot be taken apart to fill in a missing one.
  if ((hddLine[0] == 0) != (hddLine[1] == 0)) {
    return fault(hddLine[0] + hddLine[1],
                 hddLine[0] != 0 ? "hdd1: needs hdd2 too" : "hdd2: needs hdd1 too");
  }
  if (imageLine != 0 && profile->settings != 0 && hddLine[0] == 0) {
    return fault(imageLine,
                 "image: with settings it needs hdd1 and hdd2 (the update writes both, "
                 "and a unit's own cannot be read back apart)");
  }
  if (imageLine != 0 && hddLine[0] != 0 && (v.hddString1[0] == '\0' || v.hddString2[0] == '\0')) {
    return fault(hddLine[0], "hdd1, hdd2: the update with an image takes no empty HDD string");
  }
  if (serialStartLine != 0 && !profile->numberedSerial) {
    return fault(serialStartLine, "serial_start: needs a serial with {n}");
  }
  if (imageLine == 0 && profile->settings == 0) {
    return fault(1,
                 "names none of image, vid, pid, manufacturer, product, serial, hdd1, hdd2, timer");
  }
  return true;
}
