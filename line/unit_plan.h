// What a unit is asked and what it must read back: the one place where the
// profile's wanted values meet what the unit reports.
#pragma once

#include "line/unit.h"

namespace line {

// The record handed to the writer: the profile's wanted values (the unit's
// serial for the profile's pattern), the unit's own for the others.
ops::CustomizedSetting Asked(const Profile& profile, const Unit& unit);

// What the unit should read back, as the record's JSON: every setting the
// profile names as asked, every other as it was; a version an image will
// replace is empty.
Json PlannedJson(const Profile& profile, const Unit& unit);

// Every setting read back (unit.after) against what was asked; prints each
// mismatch ("vid: asked 1A2B, read 3A5C").
bool Verified(const Profile& profile, const Unit& unit);

}  // namespace line
