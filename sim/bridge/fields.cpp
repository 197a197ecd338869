#include "sim/bridge/fields.h"

#include <cstdint>

#include "sim/bridge/decimal.h"

namespace sim {
namespace {

struct FieldInfo {
  const char* name;
  std::size_t maxText;  // 0 for fields that are no strings
};

constexpr FieldInfo kFieldInfo[kFieldCount] = {
    {"vid", 0},
    {"pid", 0},
    {"manufacturer", kMaxUsbString},
    {"product", kMaxUsbString},
    {"serial", kMaxSerial},
    {"hdd-vendor", kMaxHddVendor},
    {"hdd-product", kMaxHddProduct},
    {"timer", 0},
    {"manu-prod-ctl", 0},
    {"inquiry-ctl", 0},
    {"display-hdd", 0},
    {"map-hdd", 0},
    {"sn-from-nvram", 0},
};

const FieldInfo& Info(Field field) { return kFieldInfo[static_cast<std::size_t>(field)]; }

template <typename S>
auto TextOf(S& s, Field field) -> decltype(&s.manufacturer) {
  switch (field) {
    case Field::kManufacturer:
      return &s.manufacturer;
    case Field::kProduct:
      return &s.product;
    case Field::kSerial:
      return &s.serial;
    case Field::kHddVendor:
      return &s.hddVendor;
    case Field::kHddProduct:
      return &s.hddProduct;
    default:
      return nullptr;
  }
}

template <typename S>
auto FlagOf(S& s, Field field) -> decltype(&s.flags.mapHdd) {
  switch (field) {
    case Field::kManuProdCtl:
      return &s.flags.manuProdCtl;
    case Field::kInquiryCtl:
      return &s.flags.inquiryCtl;
    case Field::kDisplayHdd:
      return &s.flags.displayHdd;
    case Field::kMapHdd:
      return &s.flags.mapHdd;
    case Field::kSnFromNvram:
      return &s.flags.snFromNvram;
    default:
      return nullptr;
  }
}

}  // namespace

FieldSet Fields(std::initializer_list<Field> fields) {
  FieldSet set;
  for (Field f : fields) set.set(static_cast<std::size_t>(f));
  return set;
}

bool Has(const FieldSet& set, Field field) { return set.test(static_cast<std::size_t>(field)); }

const char* FieldName(Field field) { return Info(field).name; }

bool ParseFieldName(const std::string& name, Field* field) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (name == kFieldInfo[i].name) {
      *field = static_cast<Field>(i);
      return true;
    }
  }
  return false;
}

bool IsFlagField(Field field) {
  const Settings probe;
  return FlagOf(probe, field) != nullptr;
}

bool StoreText(Settings& s, Field field, const char* text) {
  if (text == nullptr) return false;
  if (field == Field::kVid) return ParseHexId(text, &s.vid);
  if (field == Field::kPid) return ParseHexId(text, &s.pid);
  std::string* target = TextOf(s, field);
  if (target == nullptr) return false;
  std::string value(text);
  if (!IsDeviceText(value, Info(field).maxText)) return false;
  *target = std::move(value);
  return true;
}

bool StoreNumber(Settings& s, Field field, int32_t value) {
  if (field == Field::kTimer) {
    if (value < 0) return false;
    s.standbyTimer = value;
    return true;
  }
  bool* flag = FlagOf(s, field);
  if (flag == nullptr || (value != 0 && value != 1)) return false;
  *flag = (value == 1);
  return true;
}

void CopyField(Settings& to, const Settings& from, Field field) {
  switch (field) {
    case Field::kVid:
      to.vid = from.vid;
      return;
    case Field::kPid:
      to.pid = from.pid;
      return;
    case Field::kTimer:
      to.standbyTimer = from.standbyTimer;
      return;
    default:
      break;
  }
  if (std::string* text = TextOf(to, field)) *text = *TextOf(from, field);
  if (bool* flag = FlagOf(to, field)) *flag = *FlagOf(from, field);
}

std::string FieldText(const Settings& settings, Field field) {
  const Settings& s = settings;
  if (field == Field::kVid) return FormatHexId(s.vid);
  if (field == Field::kPid) return FormatHexId(s.pid);
  if (field == Field::kTimer) return std::to_string(s.standbyTimer);
  if (const std::string* text = TextOf(s, field)) return *text;
  if (const bool* flag = FlagOf(s, field)) return *flag ? "1" : "0";
  return std::string();
}

bool StoreFieldText(Settings& settings, Field field, const std::string& text) {
  if (field == Field::kTimer || IsFlagField(field)) {
    long value = 0;
    if (!ParseDecimal(text, INT32_MIN, INT32_MAX, &value)) return false;
    return StoreNumber(settings, field, static_cast<int32_t>(value));
  }
  return StoreText(settings, field, text.c_str());
}

}  // namespace sim
