// The index of a record's passing serials, RECORD.serials beside it (a
// SerialTable), kept in step with the record. Used only under the record's
// lock, so every process sees the same index and the same record.
//
// The index never claims more than the record holds: a line is written and
// on disk before its entry, and the entries are on disk before the header
// says which part of the record they cover. What the record holds past that
// part (a killed process, another tool, an old version) is read and added
// when the index is next opened; a record shorter than that part, or ending
// in other bytes, or a damaged index, makes it anew from the whole record.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "line/serial_table.h"
#include "platform/open_file.h"

namespace line {

class RecordIndex {
 public:
  // The index at `path` for `record`, brought up to date with it.
  static std::unique_ptr<RecordIndex> Open(const std::string& path,
                                           const platform::OpenFile& record, std::string* why);
  // Whether `serial` was given to a passing unit: a slot of its hash counts
  // only when the line it names is that unit's passing line.
  bool Holds(const std::string& serial, bool* held, std::string* why) const;
  // Adds the passing line of `serial` at `offset`; the index then covers the
  // record up to `recordSize`.
  bool Add(const std::string& serial, uint64_t offset, uint64_t recordSize, std::string* why);

 private:
  RecordIndex(const std::string& path, const platform::OpenFile& record)
      : path_(path), record_(record) {}
  bool Load(uint64_t recordSize, bool* current, std::string* why);
  bool CatchUp(uint64_t recordSize, std::string* why);
  bool Insert(const SerialSlot& entry, std::string* why);
  bool Cover(uint64_t recordSize, std::string* why);
  bool TailCheck(uint64_t size, uint64_t* check, std::string* why) const;
  bool Replace(uint64_t slots, const std::function<bool(SerialTable&)>& fill, std::string* why);
  std::string path_;
  const platform::OpenFile& record_;
  std::unique_ptr<SerialTable> table_;
};

}  // namespace line
