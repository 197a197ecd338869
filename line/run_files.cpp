#include "line/run_files.h"

#include "line/record.h"
#include "line/serial_counter.h"
#include "platform/files.h"

namespace line {

namespace {

bool Exists(const std::string& path) { return platform::SameFile(path, path); }

// A path's file, or where it would be made: its folder resolved.
std::string Resolved(const std::string& path) {
  std::string real, unresolved;
  if (platform::RealPath(path, &real, &unresolved)) return real;
  const std::string folder = FolderOf(path);
  if (!platform::RealPath(folder.empty() ? "." : folder, &real, &unresolved)) return path;
  return real + "/" + path.substr(folder.size());
}

bool Same(const std::string& a, const std::string& b) {
  return platform::SameFile(a, b) || Resolved(a) == Resolved(b);
}

}  // namespace

bool FindRunFiles(const Profile& profile, const char* recordOption, RunFiles* files,
                  std::string* why) {
  std::string real;
  if (!platform::RealPath(profile.path, &real, why)) return false;
  files->counter = real + ".counter";
  files->record = recordOption != nullptr ? recordOption : FolderOf(real) + "bridgefw-record.jsonl";
  const std::string typedCounter = profile.path + ".counter";
  if (Exists(typedCounter) && !platform::SameFile(typedCounter, files->counter)) {
    *why = "Two counters: " + typedCounter + " beside the path given, " + files->counter +
           " beside the profile's real path; keep the one in use there and remove the other";
    return false;
  }
  if (Same(files->record, profile.path) || Same(files->record, files->counter)) {
    *why =
        "The record " + files->record + " is the profile or its counter: give it a file of its own";
    return false;
  }
  return true;
}

bool CheckRunFilesWritable(const Profile& profile, const RunFiles& files, std::string* why) {
  std::string fault;
  if (!CheckRecordAppendable(files.record, &fault)) {
    *why = "The record cannot be written: " + fault;
    return false;
  }
  if (!profile.numberedSerial) return true;
  uint64_t next = 0;
  // Taken and put back unchanged: the counter opens, locks and reads.
  const bool usable = platform::ChangeFileLocked(
                          files.counter, [](std::string&) { return false; }, &fault) &&
                      NextSerialNumber(files.counter, profile.serialStart, false, &next, &fault);
  if (!usable) *why = "The serial counter cannot be used: " + fault;
  return usable;
}

}  // namespace line
