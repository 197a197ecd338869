#include "sim/bridge/state_json.h"

#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <vector>

#include "sim/bridge/crc32.h"

namespace sim {
namespace {

// Keys stay in the order written, so the file reads like the device.
using json = nlohmann::ordered_json;

constexpr int kStateFormat = 1;
// The format's deepest value: the root, `devices`, a device, its `flags`.
constexpr std::size_t kStateDepth = 4;

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
      {"firmware", {{"size", d.firmware.size}, {"crc32", Crc32Text(d.firmware.crc32)}}},
  };
}

// Reads one JSON object strictly: every key expected, each member of its type
// and range, no other key. Faults throw, naming the member ("devices[0].mode").
class Member {
 public:
  // `optional` keys may be left out (by a file written before they were).
  Member(const json& object, std::string where, std::initializer_list<const char*> keys,
         std::initializer_list<const char*> optional = {})
      : object_(object), where_(std::move(where)) {
    if (!object.is_object()) Fail(where_, "not an object");
    for (const auto& item : object.items()) {
      bool known = false;
      for (const auto* list : {&keys, &optional}) {
        for (const char* key : *list) known = known || item.key() == key;
      }
      if (!known) Fail(Name(item.key().c_str()), "unknown key");
    }
    for (const char* key : keys) {
      if (!object.contains(key)) Fail(Name(key), "missing");
    }
  }

  [[noreturn]] static void Fail(const std::string& where, const std::string& why) {
    throw std::runtime_error(where + ": " + why);
  }

  std::string Name(const char* key) const { return where_.empty() ? key : where_ + "." + key; }
  const json& At(const char* key) const { return object_.at(key); }
  bool Has(const char* key) const { return object_.contains(key); }

  std::string Text(const char* key) const {
    if (!At(key).is_string()) Fail(Name(key), "not a text");
    return At(key).get<std::string>();
  }

  int64_t Integer(const char* key, int64_t min, int64_t max) const {
    const json& value = At(key);
    const std::string range =
        "not an integer from " + std::to_string(min) + " to " + std::to_string(max);
    if (value.is_number_unsigned()) {
      const uint64_t v = value.get<uint64_t>();
      if (v > static_cast<uint64_t>(max)) Fail(Name(key), range);
      return static_cast<int64_t>(v);
    }
    if (!value.is_number_integer()) Fail(Name(key), range);
    const int64_t v = value.get<int64_t>();
    if (v < min || v > max) Fail(Name(key), range);
    return v;
  }

  uint64_t Unsigned(const char* key) const {
    if (!At(key).is_number_unsigned()) Fail(Name(key), "not an integer of 0 or more");
    return At(key).get<uint64_t>();
  }

  bool Flag(const char* key) const {
    if (!At(key).is_boolean()) Fail(Name(key), "not true or false");
    return At(key).get<bool>();
  }

  uint16_t Id(const char* key) const {
    uint16_t id = 0;
    if (!ParseHexId(Text(key).c_str(), &id)) Fail(Name(key), "not 1 to 4 hex digits");
    return id;
  }

 private:
  const json& object_;
  std::string where_;
};

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

Device DeviceFromJson(const json& j, const std::string& where) {
  const Member m(j, where,
                 {"path", "series", "mode", "version", "vid", "pid", "manufacturer", "product",
                  "serial", "hdd_vendor", "hdd_product", "standby_timer", "flags", "firmware"});
  Device d;
  d.path = m.Text("path");
  if (!ParseSeries(m.Text("series"), &d.series)) Member::Fail(m.Name("series"), "not t7 or other");
  d.mode = static_cast<int32_t>(m.Integer("mode", kInt32Min, kInt32Max));
  d.version = m.Text("version");
  Settings& s = d.settings;
  s.vid = m.Id("vid");
  s.pid = m.Id("pid");
  s.manufacturer = m.Text("manufacturer");
  s.product = m.Text("product");
  s.serial = m.Text("serial");
  s.hddVendor = m.Text("hdd_vendor");
  s.hddProduct = m.Text("hdd_product");
  s.standbyTimer = static_cast<int32_t>(m.Integer("standby_timer", 0, kInt32Max));
  const Member flags(m.At("flags"), m.Name("flags"),
                     {"manu_prod_ctl", "inquiry_ctl", "display_hdd", "map_hdd", "sn_from_nvram"});
  s.flags.manuProdCtl = flags.Flag("manu_prod_ctl");
  s.flags.inquiryCtl = flags.Flag("inquiry_ctl");
  s.flags.displayHdd = flags.Flag("display_hdd");
  s.flags.mapHdd = flags.Flag("map_hdd");
  s.flags.snFromNvram = flags.Flag("sn_from_nvram");
  const Member firmware(m.At("firmware"), m.Name("firmware"), {"size", "crc32"});
  d.firmware.size = firmware.Unsigned("size");
  const std::string crc = firmware.Text("crc32");
  if (crc.size() != 8 || crc.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    Member::Fail(firmware.Name("crc32"), "not 8 hex digits");
  }
  d.firmware.crc32 = static_cast<uint32_t>(std::stoul(crc, nullptr, 16));
  return d;
}

// Builds the value from the parser's events (its SAX interface), refusing on
// the way what the format cannot hold, before it is built: nesting deeper than
// the format's, a key given twice in one object (the parser would let the last
// one win), and more keys in one object than any of the format's could hold.
// Faults throw, naming the place.
class StateBuilder {
 public:
  explicit StateBuilder(json* root) : root_(root) {}

  bool null() { return Put(nullptr); }
  bool boolean(bool value) { return Put(value); }
  bool number_integer(json::number_integer_t value) { return Put(value); }
  bool number_unsigned(json::number_unsigned_t value) { return Put(value); }
  bool number_float(json::number_float_t value, const std::string&) { return Put(value); }
  bool string(std::string& value) { return Put(std::move(value)); }
  bool binary(json::binary_t& value) { return Put(json::binary(std::move(value))); }
  bool start_object(std::size_t) { return Open(json::object()); }
  bool start_array(std::size_t) { return Open(json::array()); }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }
  bool key(std::string& key) {
    Frame& object = open_.back();
    object.key = std::move(key);
    if (object.value->contains(object.key)) Member::Fail(Place(), "given twice");
    if (object.value->size() == kMaxKeys) {
      Member::Fail(object.where, "more than " + std::to_string(kMaxKeys) + " keys");
    }
    return true;
  }
  [[noreturn]] bool parse_error(std::size_t, const std::string&, const json::exception& e) {
    throw std::runtime_error(e.what());
  }

 private:
  // The state format's objects hold 14 keys at most; more are refused early,
  // as keys are looked up one by one.
  static constexpr std::size_t kMaxKeys = 64;

  struct Frame {
    json* value;
    std::string where;
    std::string key;  // of the member being read, in an object
  };

  // Where the value being read goes.
  std::string Place() const {
    if (open_.empty()) return "";
    const Frame& in = open_.back();
    if (in.value->is_array()) return in.where + "[" + std::to_string(in.value->size()) + "]";
    return in.where.empty() ? in.key : in.where + "." + in.key;
  }

  template <typename Value>
  json* Put(Value&& value) {
    if (open_.empty()) {
      *root_ = json(std::forward<Value>(value));
      return root_;
    }
    Frame& in = open_.back();
    if (in.value->is_array()) {
      in.value->push_back(json(std::forward<Value>(value)));
      return &in.value->back();
    }
    json& member = (*in.value)[in.key];
    member = json(std::forward<Value>(value));
    return &member;
  }

  bool Open(json container) {
    std::string where = Place();
    if (open_.size() == kStateDepth) {
      Member::Fail(where, "nested deeper than the " + std::to_string(kStateDepth) +
                              " levels of the state format");
    }
    json* value = Put(std::move(container));
    open_.push_back(Frame{value, std::move(where), std::string()});
    return true;
  }

  bool Close() {
    open_.pop_back();
    return true;
  }

  json* root_;
  std::vector<Frame> open_;
};

json UnitsToJson(const std::vector<Device>& units) {
  json list = json::array();
  for (const Device& d : units) list.push_back(DeviceToJson(d));
  return list;
}

bool PathTaken(const State& state, const std::string& path) {
  for (const auto* units : {&state.devices, &state.unplugged}) {
    for (const Device& d : *units) {
      if (d.path == path) return true;
    }
  }
  return false;
}

// The units of one list, each path not yet taken in either list.
void UnitsFromJson(const Member& m, const char* key, State& parsed, std::vector<Device>& into) {
  if (!m.At(key).is_array()) Member::Fail(key, "not an array");
  for (const json& item : m.At(key)) {
    const std::string where = std::string(key) + "[" + std::to_string(into.size()) + "]";
    Device d = DeviceFromJson(item, where);
    std::string why;
    if (!ValidateDevice(d, &why)) Member::Fail(where, why);
    if (PathTaken(parsed, d.path)) Member::Fail(where + ".path", d.path + " appears twice");
    into.push_back(std::move(d));
  }
}

}  // namespace

std::string StateToJson(const State& state) {
  json root{{"format", kStateFormat},
            {"devices", UnitsToJson(state.devices)},
            {"unplugged", UnitsToJson(state.unplugged)},
            {"next_path", state.nextPath}};
  return root.dump(2) + "\n";
}

bool StateFromJson(const std::string& text, State* state, std::string* error) {
  try {
    json root;
    StateBuilder builder(&root);
    json::sax_parse(text, &builder);
    const Member m(root, "", {"format", "devices"}, {"unplugged", "next_path"});
    m.Integer("format", kStateFormat, kStateFormat);
    State parsed;
    UnitsFromJson(m, "devices", parsed, parsed.devices);
    if (m.Has("unplugged")) UnitsFromJson(m, "unplugged", parsed, parsed.unplugged);
    parsed.nextPath = m.Has("next_path")
                          ? static_cast<std::size_t>(m.Integer("next_path", 0, kInt32Max))
                          : PathNumberAfterUnits(parsed);
    *state = std::move(parsed);
    return true;
  } catch (const std::exception& e) {
    *error = e.what();
    return false;
  }
}

}  // namespace sim
