#include "line/record_index.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "line/passing_line.h"
#include "line/record_lines.h"
#include "platform/files.h"
#include "platform/process.h"

namespace line {

namespace {

// The record's last bytes checked against those the index covered: a record
// replaced by another one (rotated, restored, edited) is told apart.
constexpr uint64_t kTailChecked = 64;

}  // namespace

std::unique_ptr<RecordIndex> RecordIndex::Open(const std::string& path,
                                               const platform::OpenFile& record, std::string* why) {
  std::unique_ptr<RecordIndex> index(new RecordIndex(path, record));
  uint64_t size = 0;
  bool current = false;
  if (!record.Size(&size, why) || !index->Load(size, &current, why)) return nullptr;
  // Missing, damaged or made for other bytes: made anew, covering nothing yet.
  const auto coverNothing = [](SerialTable& table) {
    table.Header().tailCheck = Hash64("", 0);
    return true;
  };
  if (!current && !index->Replace(kSerialTableMinSlots, coverNothing, why)) return nullptr;
  if (index->table_->Header().covered < size && !index->CatchUp(size, why)) return nullptr;
  return index;
}

bool RecordIndex::Holds(const std::string& serial, bool* held, std::string* why) const {
  *held = false;
  const uint64_t hash = SerialHash(serial);
  std::string line, found, error;
  const bool walked = table_->Walk(
      hash,
      [&](uint64_t, const SerialSlot& slot) {
        if (slot.hash != hash) return true;
        *held = RecordLineAt(record_, slot.offset, &line, &error) &&
                PassingSerialOf(line, &found) && found == serial;
        return !*held && error.empty();
      },
      why);
  if (!error.empty()) *why = error;
  return walked && error.empty();
}

bool RecordIndex::Add(const std::string& serial, uint64_t offset, uint64_t recordSize,
                      std::string* why) {
  return Insert({SerialHash(serial), offset}, why) && Cover(recordSize, why);
}

bool RecordIndex::Load(uint64_t recordSize, bool* current, std::string* why) {
  *current = false;
  bool missing = false;
  std::string error;
  auto file = platform::OpenFile::Open(path_, platform::OpenFor::kChange, &error, &missing);
  if (!file) {
    if (!missing) *why = error;
    return missing;
  }
  table_ = std::make_unique<SerialTable>(std::move(file));
  bool whole = false;
  uint64_t check = 0;
  if (!table_->ReadHeader(&whole, why)) return false;
  const SerialTableHeader& header = table_->Header();
  if (!whole || header.covered > recordSize) return true;
  if (!TailCheck(header.covered, &check, why)) return false;
  *current = check == header.tailCheck;
  return true;
}

bool RecordIndex::CatchUp(uint64_t recordSize, std::string* why) {
  RecordLineReader reader(record_, table_->Header().covered, recordSize);
  std::string_view line;
  uint64_t offset = 0;
  std::string serial, error;
  while (reader.Next(&line, &offset, &error)) {
    if (PassingSerialOf(line, &serial) && !Insert({SerialHash(serial), offset}, why)) return false;
  }
  if (!error.empty()) {
    *why = error;
    return false;
  }
  return Cover(recordSize, why);
}

bool RecordIndex::Insert(const SerialSlot& entry, std::string* why) {
  const SerialTableHeader& header = table_->Header();
  // Never more than half full, so that walks stay short.
  if ((header.used + 1) * 2 > header.slots) {
    const SerialTable& old = *table_;
    const bool grown = Replace(
        header.slots * 2,
        [&](SerialTable& table) {
          table.Header().covered = old.Header().covered;
          table.Header().tailCheck = old.Header().tailCheck;
          return old.ForEach([&](const SerialSlot& slot) { return table.Put(slot, why); }, why);
        },
        why);
    if (!grown) return false;
  }
  return table_->Put(entry, why);
}

bool RecordIndex::Cover(uint64_t recordSize, std::string* why) {
  uint64_t check = 0;
  // The entries are on disk before the header claims them.
  if (!TailCheck(recordSize, &check, why) || !table_->Flush(why) || !table_->File().Sync(why)) {
    return false;
  }
  table_->Header().covered = recordSize;
  table_->Header().tailCheck = check;
  return table_->WriteHeader(why);
}

bool RecordIndex::TailCheck(uint64_t size, uint64_t* check, std::string* why) const {
  char tail[kTailChecked];
  const uint64_t length = std::min(size, kTailChecked);
  std::size_t got = 0;
  if (!record_.ReadAt(size - length, tail, static_cast<std::size_t>(length), &got, why)) {
    return false;
  }
  *check = Hash64(tail, got);
  return true;
}

// A new table is filled in a temporary file and renamed over the index, so a
// killed process leaves the old index or the new one.
bool RecordIndex::Replace(uint64_t slots, const std::function<bool(SerialTable&)>& fill,
                          std::string* why) {
  platform::RemoveStaleTemporaries(path_);
  const std::string temp = path_ + ".tmp." + std::to_string(platform::CurrentProcessId());
  auto file = platform::OpenFile::Open(temp, platform::OpenFor::kChangeOrMake, why);
  if (!file) return false;
  auto fresh = std::make_unique<SerialTable>(std::move(file));
  bool ok = fresh->MakeEmpty(slots, why) && fill(*fresh) && fresh->Flush(why) &&
            fresh->WriteHeader(why) && fresh->File().Sync(why);
  // Neither may be open while renamed (Windows).
  fresh.reset();
  table_.reset();
  ok = ok && platform::RenameOver(temp, path_, why);
  std::error_code ignored;
  if (!ok) std::filesystem::remove(temp, ignored);
  bool current = false;
  uint64_t size = 0;
  return ok && record_.Size(&size, why) && Load(size, &current, why) && table_ != nullptr;
}

}  // namespace line
