// The table of the record's index, RECORD.serials: an open-addressing hash
// table on disk, so that finding a serial reads a few slots whatever the
// record's length. All numbers little-endian:
//
//   header (48 bytes): "BFWSERI1"; the slot count (a power of two, at least
//     1024); the slots in use; the record size the table covers; a check of
//     the last (up to 64) bytes of the record it covers; a check of the
//     header's first 40 bytes
//   slots (16 bytes each): a serial's 64-bit hash (0: empty), the record
//     offset of that unit's line
//
// A slot names a line only: a hit is confirmed by reading it (RecordIndex).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "line/table_pages.h"
#include "platform/open_file.h"

namespace line {

struct SerialTableHeader {
  uint64_t slots = 0;
  uint64_t used = 0;
  uint64_t covered = 0;
  uint64_t tailCheck = 0;
};

struct SerialSlot {
  uint64_t hash = 0;
  uint64_t offset = 0;
};

constexpr uint64_t kSerialTableMinSlots = 1024;

// A 64-bit hash of some bytes; SerialHash (never 0) for a serial.
uint64_t Hash64(const void* data, std::size_t size);
uint64_t SerialHash(const std::string& serial);
void SetSerialHashForTest(uint64_t (*hash)(const std::string& serial));

class SerialTable {
 public:
  explicit SerialTable(std::unique_ptr<platform::OpenFile> file);
  // The header, if the file holds a whole table; false for any other content.
  bool ReadHeader(bool* whole, std::string* why);
  bool WriteHeader(std::string* why);
  // An empty table of `slots` slots in place of whatever the file held.
  bool MakeEmpty(uint64_t slots, std::string* why);
  // The slots from `hash`'s home on, until `visit` returns false or a slot is
  // empty (which `visit` sees too).
  bool Walk(uint64_t hash, const std::function<bool(uint64_t at, const SerialSlot&)>& visit,
            std::string* why) const;
  // Puts the entry in the first empty slot of its walk, unless it is there.
  bool Put(const SerialSlot& entry, std::string* why);
  // Writes the changed slots back (not yet to disk: see OpenFile::Sync).
  bool Flush(std::string* why) { return pages_.Flush(why); }
  // Every entry, read a block of slots at a time; false as soon as `visit`
  // fails (with its reason) or a read does.
  bool ForEach(const std::function<bool(const SerialSlot&)>& visit, std::string* why) const;
  SerialTableHeader& Header() { return header_; }
  const SerialTableHeader& Header() const { return header_; }
  platform::OpenFile& File() { return *file_; }

 private:
  bool ReadSlots(uint64_t first, SerialSlot* slots, std::size_t count, std::string* why) const;
  std::unique_ptr<platform::OpenFile> file_;
  mutable TablePages pages_;  // the slots, read and changed through held pages
  SerialTableHeader header_;
};

}  // namespace line
