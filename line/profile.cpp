#include "line/profile.h"

#include <toml++/toml.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ops/setting_table.h"
#include "platform/files.h"

namespace line {

using ops::SettingRow;

namespace {

constexpr size_t kMaxText = kLibraryTextSize - 1;

// A fault at a line of the profile; the message starts with the key.
struct Fault {
  long line = 0;
  std::string what;
};

bool PrintableAscii(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7F) return false;
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
        (inside.size() == 3 || std::isdigit(static_cast<unsigned char>(inside[3]))) &&
        std::atoi(inside.c_str() + 2) > 0;
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

std::string LineOf(const std::string& text, long line) {
  size_t at = 0;
  for (long n = 1; n < line && at != std::string::npos; ++n) {
    at = text.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
}

// toml++ garbles a quoted key in its "cannot redefine" message: the key is
// taken from its line instead, parsed alone.
Fault ParseFault(const std::string& text, const toml::parse_error& error) {
  const std::string description(error.description());
  const long line = static_cast<long>(error.source().begin.line);
  if (description.find("cannot redefine existing") != std::string::npos) {
    toml::parse_result alone = toml::parse(LineOf(text, line));
    if (alone && alone.table().size() == 1) {
      return {line, std::string(alone.table().begin()->first.str()) + ": given twice"};
    }
  }
  return {line, description};
}

// The file's text, or why there is none, as the system told it.
bool ReadProfileText(const std::string& path, std::string* text, Fault* fault) {
  bool missing = false;
  if (path.empty()) {
    fault->what = "the profile's path is empty";
  } else if (!platform::ReadFileText(path, text, &missing, &fault->what)) {
    return false;
  } else if (text->size() >= 2 &&
             (text->compare(0, 2, "\xFF\xFE") == 0 || text->compare(0, 2, "\xFE\xFF") == 0)) {
    fault->what = "UTF-16: save the profile as UTF-8";
  } else {
    return true;
  }
  return false;
}

// The counter's first or last number.
bool TakeSerialBound(const toml::node& node, uint64_t* bound, std::string* why) {
  const toml::value<int64_t>* number = node.as_integer();
  if (number == nullptr || number->get() < 0 || number->get() > INT64_MAX / 2) {
    *why = "must be a whole number from 0 to " + std::to_string(INT64_MAX / 2);
    return false;
  }
  *bound = static_cast<uint64_t>(number->get());
  return true;
}

// The image: a path of the system's (any printable text), resolved against
// the profile's folder, to a file that can be read.
bool TakeImage(const toml::node& node, Profile* profile, std::string* why) {
  const toml::value<std::string>* value = node.as_string();
  const std::string text = value != nullptr ? value->get() : "";
  profile->image = IsAbsolute(text) ? text : FolderOf(profile->path) + text;
  std::string unopened;
  std::FILE* image = nullptr;
  if (value == nullptr) {
    *why = "must be a text";
  } else if (!PrintableText(text)) {
    *why = "must be printable text";
  } else if (text.empty() || profile->image.size() >= kFirmwarePathSize) {
    *why = "must be a path of 1 to " + std::to_string(kFirmwarePathSize - 1) + " characters";
  } else if ((image = platform::OpenRegularFile(profile->image, &unopened)) == nullptr) {
    *why = unopened;
  } else if (std::fclose(image), !platform::LibraryPath(profile->image, &profile->libraryImage) ||
                                     profile->libraryImage.size() >= kFirmwarePathSize) {
    *why = "the library cannot read the path " + profile->image +
           " (a character outside the system's code page, and no short name)";
  } else {
    return true;
  }
  return false;
}

// The timer: a number of seconds the library takes.
bool TakeSeconds(const SettingRow& row, const toml::node& node, Profile* profile,
                 std::string* why) {
  const toml::value<int64_t>* number = node.as_integer();
  if (number == nullptr || number->get() < 0 || number->get() > INT32_MAX) {
    *why = "must be a whole number from 0 to " + std::to_string(INT32_MAX);
    return false;
  }
  profile->values.standbyTimer = static_cast<int32_t>(number->get());
  profile->settings |= row.bit;
  return true;
}

// A setting's text: checked as the bridge and the single writers take it;
// a serial's {n} at its width must fit too.
bool TakeText(const SettingRow& row, int part, const toml::node& node, Profile* profile,
              std::string* why) {
  const toml::value<std::string>* value = node.as_string();
  const std::string text = value != nullptr ? value->get() : "";
  const bool serial = row.bit == ops::kSettingSerial;
  const char* fault = nullptr;
  if (value == nullptr) {
    *why = "must be a text";
  } else if (!PrintableAscii(text)) {
    *why = "must be printable ASCII text (the bridge takes no other)";
  } else if (serial && !CheckPlaceholders(text, &profile->numberedSerial)) {
    *why = "takes one {n} or {n:WIDTH} (WIDTH 1 to 99) and no other braces";
  } else if ((fault = ops::WantedTextFault(row, text.c_str())) != nullptr) {
    *why = fault;
  } else if (serial && FillSerial(text, 0).size() > kMaxText) {
    *why = "is longer than " + std::to_string(kMaxText) + " with its number at its width";
  } else {
    if (serial) profile->serial = text;
    std::memcpy(row.wanted(profile->values, part), text.c_str(), text.size() + 1);
    profile->settings |= row.bit;
    return true;
  }
  return false;
}

bool TakeKey(const std::string& name, const toml::node& node, Profile* profile, std::string* why) {
  if (name == "image") return TakeImage(node, profile, why);
  if (name == "serial_start") return TakeSerialBound(node, &profile->serialStart, why);
  if (name == "serial_end") return TakeSerialBound(node, &profile->serialEnd, why);
  int part = 0;
  const SettingRow* row = ops::FindSettingRow(name, &part);
  if (row == nullptr || row->parts[part] == nullptr || name != row->parts[part]) {
    *why = "unknown key";
    return false;
  }
  if (row->rule == ops::SettingRule::kSeconds) return TakeSeconds(*row, node, profile, why);
  return TakeText(*row, part, node, profile, why);
}

// Where each key that needs another stood: 0 when it is not there.
struct KeyLines {
  long hdd[2] = {0, 0};
  long image = 0;
  long serialStart = 0;
  long serialEnd = 0;
};

bool TakeKeys(const toml::table& table, Profile* profile, KeyLines* lines, Fault* fault) {
  for (auto&& [key, node] : table) {
    const std::string name(key.str());
    fault->line = static_cast<long>(key.source().begin.line);
    std::string why;
    if (!TakeKey(name, node, profile, &why)) {
      fault->what = name + ": " + why;
      return false;
    }
    if (name == "hdd1" || name == "hdd2") lines->hdd[name == "hdd2"] = fault->line;
    if (name == "image") lines->image = fault->line;
    if (name == "serial_start") lines->serialStart = fault->line;
    if (name == "serial_end") lines->serialEnd = fault->line;
  }
  return true;
}

// What the keys must say together.
bool CheckTogether(const Profile& profile, const KeyLines& lines, Fault* fault) {
  const ops::CustomizedSetting& v = profile.values;
  const long* hdd = lines.hdd;
  // The library takes the two HDD strings together and reads them back as
  // one, so a unit's own cannot be taken apart to fill in a missing one.
  if ((hdd[0] == 0) != (hdd[1] == 0)) {
    *fault = {hdd[0] + hdd[1], hdd[0] != 0 ? "hdd1: needs hdd2 too" : "hdd2: needs hdd1 too"};
  } else if (lines.image != 0 && profile.settings != 0 && hdd[0] == 0) {
    *fault = {lines.image,
              "image: with settings it needs hdd1 and hdd2 (the update writes both, "
              "and a unit's own cannot be read back apart)"};
  } else if (lines.image != 0 && hdd[0] != 0 &&
             (v.hddString1[0] == '\0' || v.hddString2[0] == '\0')) {
    *fault = {hdd[0], "hdd1, hdd2: the update with an image takes no empty HDD string"};
  } else if (lines.serialStart != 0 && !profile.numberedSerial) {
    *fault = {lines.serialStart, "serial_start: needs a serial with {n}"};
  } else if (lines.serialEnd != 0 && !profile.numberedSerial) {
    *fault = {lines.serialEnd, "serial_end: needs a serial with {n}"};
  } else if (lines.serialEnd != 0 && profile.serialEnd < profile.serialStart) {
    *fault = {lines.serialEnd, "serial_end: is below serial_start"};
  } else if (lines.image == 0 && profile.settings == 0) {
    *fault = {1, "names none of image, vid, pid, manufacturer, product, serial, hdd1, hdd2, timer"};
  } else {
    return true;
  }
  return false;
}

}  // namespace

bool PrintableText(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

bool ProfileTakesText(const std::string& text) { return PrintableAscii(text); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

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
  Fault fault;
  KeyLines lines;
  bool loaded = ReadProfileText(path, &text, &fault);
  if (loaded) {
    toml::parse_result parsed = toml::parse(text, path);
    if (!parsed) {
      fault = ParseFault(text, parsed.error());
      loaded = false;
    } else {
      loaded = TakeKeys(parsed.table(), profile, &lines, &fault) &&
               CheckTogether(*profile, lines, &fault);
    }
  }
  if (!loaded) *why = path + ":" + std::to_string(fault.line) + ": " + fault.what;
  return loaded;
}

}  // namespace line
