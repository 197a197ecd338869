// The files a run of --apply keeps beside its profile: the serial counter
// and the record. They belong to the profile's file, not to the path that
// reached it: one counter and one default record, whatever link or second
// name the profile was given by.
#pragma once

#include <string>

#include "line/profile.h"

namespace line {

struct RunFiles {
  std::string counter;  // REAL-PROFILE.counter
  std::string record;   // --record's, or bridgefw-record.jsonl beside the real profile
};

// Finds the counter and the record; refuses (false, one line why) what
// could hand a number out twice or write one file as another: a counter
// beside the typed path that is not the real path's, a record that is the
// profile or the counter.
bool FindRunFiles(const Profile& profile, const char* recordOption, RunFiles* files,
                  std::string* why);

// Whether a real run can write both, checked before any unit is touched.
bool CheckRunFilesWritable(const Profile& profile, const RunFiles& files, std::string* why);

}  // namespace line
