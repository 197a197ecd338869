// A run of --apply and the unit it is serving: what the steps, the record
// and the reporters share.
#pragma once

#include <chrono>
#include <string>

#include "line/profile.h"
#include "line/request.h"
#include "line/run_files.h"
#include "line/run_image.h"
#include "line/unit_reading.h"

namespace line {

struct Reporter;

struct Run {
  const LineRequest& request;
  const Profile& profile;
  const Reporter& reporter;
  RunFiles files;
  std::string host;
  // A dry run takes no number: the units it shows count on from the
  // counter's next one, as a real run would hand them out.
  uint64_t serialsPreviewed = 0;
};

struct Unit {
  int index = 0;  // into DeviceList
  int ordinal = 0;
  int total = 0;
  const char* path = nullptr;
  std::string time;
  std::chrono::steady_clock::time_point start;
  UnitReading before;
  UnitReading after;  // read back
  bool beforeRead = false;
  bool afterRead = false;
  Json planned;        // what it should read back (a dry run's after)
  Json afterAnswered;  // what a unit that failed while being written still answered
  ImageDigest image;   // what it was programmed with
  std::string serial;
  uint64_t serialNumber = 0;
  bool numbered = false;
  Json messages = Json::array();
  const char* failedStep = nullptr;
  std::string failedCall;
};

}  // namespace line
