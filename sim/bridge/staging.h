// The pending settings table between QZ_InitialCustomizedSettingTable and the
// commit. Enable calls open fields, setters give values to open fields, the
// commit writes the fields that got a value. A commit fails when an enable
// call opened fields none of which then got a value, or when the bridge's
// series changed after the table was bound to it. A call that fails says why
// in `why`, for the caller to report.
#pragma once

#include <string>
#include <vector>

#include "sim/bridge/device.h"
#include "sim/bridge/fields.h"

namespace sim {

enum class SeriesRule { kBoth, kT7Only, kOtherOnly };

bool SeriesAllows(SeriesRule rule, Series series);

// What one enable call does: with 1 it opens `opens` (after checking
// `requires` is open) and gives each of `raises` the value 1; with 0 it closes
// `opens` again. Any other argument fails.
struct EnableRule {
  SeriesRule series;
  FieldSet opens;
  FieldSet requires;
  FieldSet raises;
};

// What one setter does: gives `field` a value; a setter with no field
// (Field::kCount) takes 0 or 1 and has no effect.
struct SetterRule {
  SeriesRule series;
  Field field;
};

class Staging {
 public:
  // A fresh table for the process; forgets anything staged before.
  void Start();
  void Clear();

  bool active() const { return active_; }
  // Something to commit: at least one field open.
  bool HasStaged() const { return active_ && open_.any(); }
  const std::string& device() const { return device_; }
  const FieldSet& open() const { return open_; }
  const FieldSet& assigned() const { return assigned_; }

  bool Enable(const Device& device, const EnableRule& rule, int32_t value, std::string* why);
  bool SetText(const Device& device, const SetterRule& rule, const char* text, std::string* why);
  bool SetNumber(const Device& device, const SetterRule& rule, int32_t value, std::string* why);

  // Writes the open fields that got a value into `device` (an open field
  // without a value keeps what the device holds). Fails with nothing staged,
  // for another device or series than the one staged for, or when an enable
  // call's fields all lack a value. Does not clear.
  bool ApplyTo(Device& device, std::string* why) const;

 private:
  // The first device call after Start binds the table to that device.
  bool Admit(const Device& device, SeriesRule rule, std::string* why);
  bool Assignable(const Device& device, const SetterRule& rule, std::string* why);

  bool active_ = false;
  std::string device_;
  Series series_ = Series::kOther;
  std::vector<FieldSet> enabled_;  // what each enable call with 1 opened
  FieldSet open_;
  FieldSet assigned_;
  Settings values_;
};

}  // namespace sim
