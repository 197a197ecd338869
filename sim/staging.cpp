#include "sim/staging.h"

namespace sim {

bool SeriesAllows(SeriesRule rule, Series series) {
  switch (rule) {
    case SeriesRule::kT7Only:
      return series == Series::kT7;
    case SeriesRule::kOtherOnly:
      return series == Series::kOther;
    case SeriesRule::kBoth:
      break;
  }
  return true;
}

void Staging::Start() {
  Clear();
  active_ = true;
}

void Staging::Clear() {
  active_ = false;
  device_.clear();
  open_.reset();
  assigned_.reset();
  values_ = Settings();
}

bool Staging::Admit(const Device& device, SeriesRule rule) {
  if (!active_ || !SeriesAllows(rule, device.series)) return false;
  if (device_.empty()) {
    device_ = device.path;
    return true;
  }
  return device_ == device.path;
}

bool Staging::Enable(const Device& device, const EnableRule& rule, int32_t value) {
  if (!Admit(device, rule.series)) return false;
  if (value == 0) {
    open_ &= ~rule.opens;
    assigned_ &= ~rule.opens;
    return true;
  }
  if ((open_ & rule.requires) != rule.requires) return false;
  open_ |= rule.opens;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (rule.raises.test(i)) {
      StoreNumber(values_, static_cast<Field>(i), 1);
      assigned_.set(i);
    }
  }
  return true;
}

bool Staging::Assignable(const Device& device, const SetterRule& rule) {
  if (!Admit(device, rule.series)) return false;
  return rule.field == Field::kCount || Has(open_, rule.field);
}

bool Staging::SetText(const Device& device, const SetterRule& rule, const char* text) {
  if (!Assignable(device, rule)) return false;
  if (rule.field == Field::kCount) return text != nullptr;
  if (!StoreText(values_, rule.field, text)) return false;
  assigned_.set(static_cast<std::size_t>(rule.field));
  return true;
}

bool Staging::SetNumber(const Device& device, const SetterRule& rule, int32_t value) {
  if (!Assignable(device, rule)) return false;
  if (rule.field == Field::kCount) return true;
  if (!StoreNumber(values_, rule.field, value)) return false;
  assigned_.set(static_cast<std::size_t>(rule.field));
  return true;
}

bool Staging::ApplyTo(Device& device) const {
  if (!HasStaged() || device.path != device_) return false;
  FieldSet write = open_ & assigned_;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (write.test(i)) CopyField(device.settings, values_, static_cast<Field>(i));
  }
  return true;
}

}  // namespace sim
