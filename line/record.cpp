#include "line/record.h"

#include <cstdint>
#include <memory>

#include "line/record_index.h"
#include "platform/files.h"
#include "platform/open_file.h"

namespace line {

namespace {

using platform::OpenFile;
using platform::OpenFor;

struct Companions {
  std::string lock, index;
};

Companions CompanionsOf(const std::string& record) {
  const std::string resolved = platform::ResolveLinks(record);
  return {resolved + ".lock", resolved + ".serials"};
}

std::unique_ptr<platform::FileLock> LockRecord(const std::string& record, std::string* why) {
  return platform::FileLock::Acquire(CompanionsOf(record).lock, /*exclusive=*/true, why);
}

bool EndsWithoutLineEnd(const OpenFile& record, uint64_t size, bool* torn, std::string* why) {
  char last = '\n';
  std::size_t got = 0;
  if (size > 0 && !record.ReadAt(size - 1, &last, 1, &got, why)) return false;
  *torn = last != '\n';
  return true;
}

// All or nothing: a write that fails is cut back to where it began.
bool WriteWhole(OpenFile& record, uint64_t at, const std::string& text, std::string* why) {
  if (record.WriteAt(at, text.data(), text.size(), why) && record.Sync(why)) return true;
  std::string cut;
  if (!record.Truncate(at, &cut) || !record.Sync(&cut)) *why += "; " + cut;
  return false;
}

}  // namespace

bool CheckRecordAppendable(const std::string& path, std::string* why) {
  if (path.empty()) {
    *why = "no record file named";
    return false;
  }
  auto record = OpenFile::Open(path, OpenFor::kChangeOrMake, why);
  if (!record) return false;
  if (record->IsStandardOutput()) {
    *why = path + " is where the tool's own output goes";
    return false;
  }
  // A record made here must outlast a crash as its lines will. An index to
  // make (a first run on a long record) is made now, before any unit waits.
  const auto lock = record->Sync(why) ? LockRecord(path, why) : nullptr;
  return lock && RecordIndex::Open(CompanionsOf(path).index, *record, why) != nullptr;
}

bool AppendRecordLine(const std::string& path, const std::string& line,
                      const std::string& passedSerial, bool* endedTail, std::string* why) {
  *endedTail = false;
  if (line.find_first_of("\r\n") != std::string::npos) {
    *why = "a record line holds no line end";
    return false;
  }
  auto lock = LockRecord(path, why);
  auto record = lock ? OpenFile::Open(path, OpenFor::kChangeOrMake, why) : nullptr;
  if (!record) return false;
  // Up to date first, so that the new line is all it lacks afterwards. The
  // line is written even when the index fails: it is caught up later.
  std::string later;
  const auto index =
      passedSerial.empty() ? nullptr : RecordIndex::Open(CompanionsOf(path).index, *record, &later);
  uint64_t size = 0;
  bool torn = false;
  if (!record->Size(&size, why) || !EndsWithoutLineEnd(*record, size, &torn, why)) return false;
  const std::string text = (torn ? "\n" : "") + line + "\n";
  if (!WriteWhole(*record, size, text, why)) return false;
  *endedTail = torn;
  if (index) index->Add(passedSerial, size + (torn ? 1 : 0), size + text.size(), &later);
  return true;
}

bool SerialPassedBefore(const std::string& path, const std::string& serial, bool* passed,
                        std::string* why) {
  *passed = false;
  bool missing = false;
  std::string error;
  // Asking about a missing record makes nothing: no lock file, no index.
  if (!OpenFile::Open(path, OpenFor::kRead, &error, &missing) && missing) return true;
  auto lock = LockRecord(path, why);
  auto record = lock ? OpenFile::Open(path, OpenFor::kRead, why, &missing) : nullptr;
  if (!record) return lock && missing;
  const auto index = RecordIndex::Open(CompanionsOf(path).index, *record, why);
  return index && index->Holds(serial, passed, why);
}

}  // namespace line
