#include "sim/state_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace sim {
namespace {

// Keys stay in the order written, so the file reads like the device.
using json = nlohmann::ordered_json;

constexpr int kStateFormat = 1;

std::string HexCrc(uint32_t crc) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
  return text;
}

json DeviceToJson(const Device& d) {
  const Settings& s = d.settings;
  return json{
      {"path", d.path},
      {"series", SeriesName(d.series)},
      {"mode", d.mode},
      {"version", d.version},
      {"vid", FormatHexId(s.vid)},
      {"pid", FormatHexId(s.pid)},
      {"manufacturer", s.manufacturer},
      {"product", s.product},
      {"serial", s.serial},
      {"hdd_vendor", s.hddVendor},
      {"hdd_product", s.hddProduct},
      {"standby_timer", s.standbyTimer},
      {"flags",
       {{"manu_prod_ctl", s.flags.manuProdCtl},
        {"inquiry_ctl", s.flags.inquiryCtl},
        {"display_hdd", s.flags.displayHdd},
        {"map_hdd", s.flags.mapHdd},
        {"sn_from_nvram", s.flags.snFromNvram}}},
      {"firmware", {{"size", d.firmware.size}, {"crc32", HexCrc(d.firmware.crc32)}}},
  };
}

uint16_t IdFromJson(const json& value, const char* name) {
  std::string text = value.at(name).get<std::string>();
  uint16_t id = 0;
  if (!ParseHexId(text.c_str(), &id)) throw std::runtime_error(std::string(name) + " is not hex");
  return id;
}

uint32_t CrcFromJson(const json& value) {
  std::string text = value.get<std::string>();
  if (text.size() != 8 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    throw std::runtime_error("firmware crc32 is not 8 hex digits");
  }
  return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
}

Device DeviceFromJson(const json& j) {
  Device d;
  d.path = j.at("path").get<std::string>();
  if (!ParseSeries(j.at("series").get<std::string>(), &d.series)) {
    throw std::runtime_error("series is neither t7 nor other");
  }
  d.mode = j.at("mode").get<int32_t>();
  d.version = j.at("version").get<std::string>();
  Settings& s = d.settings;
  s.vid = IdFromJson(j, "vid");
  s.pid = IdFromJson(j, "pid");
  s.manufacturer = j.at("manufacturer").get<std::string>();
  s.product = j.at("product").get<std::string>();
  s.serial = j.at("serial").get<std::string>();
  s.hddVendor = j.at("hdd_vendor").get<std::string>();
  s.hddProduct = j.at("hdd_product").get<std::string>();
  s.standbyTimer = j.at("standby_timer").get<int32_t>();
  const json& flags = j.at("flags");
  s.flags.manuProdCtl = flags.at("manu_prod_ctl").get<bool>();
  s.flags.inquiryCtl = flags.at("inquiry_ctl").get<bool>();
  s.flags.displayHdd = flags.at("display_hdd").get<bool>();
  s.flags.mapHdd = flags.at("map_hdd").get<bool>();
  s.flags.snFromNvram = flags.at("sn_from_nvram").get<bool>();
  const json& firmware = j.at("firmware");
  d.firmware.size = firmware.at("size").get<uint64_t>();
  d.firmware.crc32 = CrcFromJson(firmware.at("crc32"));
  return d;
}

}  // namespace

std::string StateToJson(const State& state) {
  json devices = json::array();
  for (const Device& d : state.devices) devices.push_back(DeviceToJson(d));
  json root{{"format", kStateFormat}, {"devices", devices}};
  return root.dump(2) + "\n";
}

bool StateFromJson(const std::string& text, State* state, std::string* error) {
  try {
    json root = json::parse(text);
    if (root.at("format").get<int>() != kStateFormat) {
      *error = "unknown state format";
      return false;
    }
    State parsed;
    for (const json& item : root.at("devices")) {
      Device d = DeviceFromJson(item);
      std::string why;
      if (!ValidateDevice(d, &why)) {
        *error = "device " + d.path + ": " + why;
        return false;
      }
      if (FindDevice(parsed, d.path.c_str()) != nullptr) {
        *error = "device path " + d.path + " appears twice";
        return false;
      }
      parsed.devices.push_back(std::move(d));
    }
    *state = std::move(parsed);
    return true;
  } catch (const std::exception& e) {
    *error = e.what();
    return false;
  }
}

}  // namespace sim
