#include "sim/bridge/staging.h"

namespace sim {
namespace {

bool Refused(std::string* why, const std::string& reason) {
  *why = reason;
  return false;
}

}  // namespace

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
  enabled_.clear();
  open_.reset();
  assigned_.reset();
  values_ = Settings();
}

bool Staging::Admit(const Device& device, SeriesRule rule, std::string* why) {
  if (!active_) return Refused(why, "no QZ_InitialCustomizedSettingTable before this call");
  if (!SeriesAllows(rule, device.series)) {
    return Refused(why, std::string("not a call of the ") + SeriesName(device.series) + " series");
  }
  if (device_.empty()) {
    device_ = device.path;
    series_ = device.series;
    return true;
  }
  return device_ == device.path || Refused(why, "the table belongs to device " + device_);
}

bool Staging::Enable(const Device& device, const EnableRule& rule, int32_t value,
                     std::string* why) {
  if (!Admit(device, rule.series, why)) return false;
  if (value != 0 && value != 1) return Refused(why, "the value must be 0 or 1");
  if (value == 0) {
    open_ &= ~rule.opens;
    assigned_ &= ~rule.opens;
    return true;
  }
  if ((open_ & rule.requires) != rule.requires)
    return Refused(why, "needs the HDD strings enabled");
  if (rule.opens.any()) enabled_.push_back(rule.opens);
  open_ |= rule.opens;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (rule.raises.test(i)) {
      StoreNumber(values_, static_cast<Field>(i), 1);
      assigned_.set(i);
    }
  }
  return true;
}

bool Staging::Assignable(const Device& device, const SetterRule& rule, std::string* why) {
  if (!Admit(device, rule.series, why)) return false;
  return rule.field == Field::kCount || Has(open_, rule.field) ||
         Refused(why, std::string("the field ") + FieldName(rule.field) + " is not enabled");
}

bool Staging::SetText(const Device& device, const SetterRule& rule, const char* text,
                      std::string* why) {
  if (!Assignable(device, rule, why)) return false;
  if (rule.field == Field::kCount) return text != nullptr;
  if (!StoreText(values_, rule.field, text)) {
    return Refused(why, std::string("the device cannot hold this ") + FieldName(rule.field));
  }
  assigned_.set(static_cast<std::size_t>(rule.field));
  return true;
}

bool Staging::SetNumber(const Device& device, const SetterRule& rule, int32_t value,
                        std::string* why) {
  if (!Assignable(device, rule, why)) return false;
  if (rule.field == Field::kCount)
    return value == 0 || value == 1 || Refused(why, "the value must be 0 or 1");
  if (!StoreNumber(values_, rule.field, value)) {
    return Refused(why, std::string("the device cannot hold this ") + FieldName(rule.field));
  }
  assigned_.set(static_cast<std::size_t>(rule.field));
  return true;
}

bool Staging::ApplyTo(Device& device, std::string* why) const {
  if (!HasStaged()) return Refused(why, "nothing enabled to commit");
  if (device.path != device_) return Refused(why, "the table belongs to device " + device_);
  if (device.series != series_) return Refused(why, "the bridge's series changed since staging");
  FieldSet write = open_ & assigned_;
  for (const FieldSet& fields : enabled_) {
    for (std::size_t i = 0; !(fields & write).any() && i < kFieldCount; ++i) {
      if (fields.test(i) && (fields & open_).any()) {
        return Refused(why, std::string("the enabled field ") + FieldName(static_cast<Field>(i)) +
                                " got no value");
      }
    }
  }
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (write.test(i)) CopyField(device.settings, values_, static_cast<Field>(i));
  }
  return true;
}

}  // namespace sim
