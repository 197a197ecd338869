// The settings fields by name, with the rules for what each can hold.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "sim/bridge/device.h"

namespace sim {

enum class Field {
  kVid,
  kPid,
  kManufacturer,
  kProduct,
  kSerial,
  kHddVendor,
  kHddProduct,
  kTimer,
  kManuProdCtl,
  kInquiryCtl,
  kDisplayHdd,
  kMapHdd,
  kSnFromNvram,
  kCount
};

constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::kCount);
using FieldSet = std::bitset<kFieldCount>;

FieldSet Fields(std::initializer_list<Field> fields);
bool Has(const FieldSet& set, Field field);

// The name `bridgesim set/get` uses ("vid", "hdd-vendor", "sn-from-nvram", ...).
const char* FieldName(Field field);
bool ParseFieldName(const std::string& name, Field* field);

bool IsFlagField(Field field);

// Stores a text value into an id or string field if the device can hold it:
// ids are 1 to 4 hex digits, strings within their limit.
bool StoreText(Settings& settings, Field field, const char* text);

// Stores a number into the timer (0 or more) or a flag (0 or 1).
bool StoreNumber(Settings& settings, Field field, int32_t value);

// Copies one field from `from` to `to`.
void CopyField(Settings& to, const Settings& from, Field field);

// The field as `bridgesim get` prints it (ids as 4 upper-case hex digits).
std::string FieldText(const Settings& settings, Field field);

// The field from `bridgesim set` text: ids in hex, timer and flags in decimal.
bool StoreFieldText(Settings& settings, Field field, const std::string& text);

}  // namespace sim
