#include "line/serial_table.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace line {

namespace {

constexpr char kMagic[8] = {'B', 'F', 'W', 'S', 'E', 'R', 'I', '1'};
constexpr uint64_t kHeaderSize = 48;
constexpr uint64_t kSlotSize = 16;
// Far beyond any record, and small enough that sizes never overflow.
constexpr uint64_t kMaxSlots = uint64_t{1} << 40;
// Slots read at once: a walk is short, a copy reads the table through.
constexpr std::size_t kWalkBlock = 16;
constexpr std::size_t kCopyBlock = 4096;

uint64_t (*TestSerialHash)(const std::string&) = nullptr;

void Put64(unsigned char* at, uint64_t value) {
  for (int i = 0; i < 8; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint64_t Get64(const unsigned char* at) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

uint64_t SlotOffset(uint64_t at) { return kHeaderSize + at * kSlotSize; }

}  // namespace

// FNV-1a, then mixed (MurmurHash3's finalizer) so that serials that differ
// in their last digit spread over the whole table.
uint64_t Hash64(const void* data, std::size_t size) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (std::size_t i = 0; i < size; ++i) {
    hash = (hash ^ static_cast<const unsigned char*>(data)[i]) * 0x100000001b3ULL;
  }
  hash = (hash ^ (hash >> 33)) * 0xff51afd7ed558ccdULL;
  hash = (hash ^ (hash >> 33)) * 0xc4ceb9fe1a85ec53ULL;
  return hash ^ (hash >> 33);
}

uint64_t SerialHash(const std::string& serial) {
  const uint64_t hash =
      TestSerialHash != nullptr ? TestSerialHash(serial) : Hash64(serial.data(), serial.size());
  return hash == 0 ? 1 : hash;  // 0 marks an empty slot
}

void SetSerialHashForTest(uint64_t (*hash)(const std::string& serial)) { TestSerialHash = hash; }

SerialTable::SerialTable(std::unique_ptr<platform::OpenFile> file)
    : file_(std::move(file)), pages_(*file_, kHeaderSize) {}

bool SerialTable::ReadHeader(bool* whole, std::string* why) {
  unsigned char bytes[kHeaderSize] = {};
  std::size_t got = 0;
  uint64_t size = 0;
  if (!file_->Size(&size, why) || !file_->ReadAt(0, bytes, sizeof bytes, &got, why)) return false;
  header_ = {Get64(bytes + 8), Get64(bytes + 16), Get64(bytes + 24), Get64(bytes + 32)};
  const uint64_t slots = header_.slots;
  *whole = got == kHeaderSize && std::memcmp(bytes, kMagic, sizeof kMagic) == 0 &&
           Get64(bytes + 40) == Hash64(bytes, 40) && slots >= kSerialTableMinSlots &&
           slots <= kMaxSlots && (slots & (slots - 1)) == 0 && header_.used * 2 <= slots &&
           size == SlotOffset(slots);
  return true;
}

bool SerialTable::WriteHeader(std::string* why) {
  unsigned char bytes[kHeaderSize] = {};
  std::memcpy(bytes, kMagic, sizeof kMagic);
  Put64(bytes + 8, header_.slots);
  Put64(bytes + 16, header_.used);
  Put64(bytes + 24, header_.covered);
  Put64(bytes + 32, header_.tailCheck);
  Put64(bytes + 40, Hash64(bytes, 40));
  return file_->WriteAt(0, bytes, sizeof bytes, why);
}

bool SerialTable::MakeEmpty(uint64_t slots, std::string* why) {
  header_ = {slots, 0, 0, 0};
  // A file grown by truncation reads as zeros: every slot empty.
  return file_->Truncate(0, why) && file_->Truncate(SlotOffset(slots), why) && WriteHeader(why);
}

bool SerialTable::ReadSlots(uint64_t first, SerialSlot* slots, std::size_t count,
                            std::string* why) const {
  std::vector<unsigned char> bytes(count * kSlotSize);
  if (!pages_.Read(first * kSlotSize, bytes.data(), bytes.size(), why)) return false;
  for (std::size_t i = 0; i < count; ++i) {
    slots[i] = {Get64(&bytes[i * kSlotSize]), Get64(&bytes[i * kSlotSize + 8])};
  }
  return true;
}

bool SerialTable::Walk(uint64_t hash,
                       const std::function<bool(uint64_t at, const SerialSlot&)>& visit,
                       std::string* why) const {
  const uint64_t slots = header_.slots;
  SerialSlot block[kWalkBlock];
  uint64_t at = hash & (slots - 1);
  for (uint64_t seen = 0; seen < slots;) {
    const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(kWalkBlock, slots - at));
    if (!ReadSlots(at, block, count, why)) return false;
    for (std::size_t i = 0; i < count; ++i, ++seen) {
      if (!visit(at + i, block[i]) || block[i].hash == 0) return true;
    }
    at = (at + count) & (slots - 1);
  }
  *why = file_->Path() + " has no empty slot: a damaged index";
  return false;
}

bool SerialTable::Put(const SerialSlot& entry, std::string* why) {
  uint64_t last = 0;  // where the walk stopped: an empty slot unless the entry is there
  bool there = false;
  const bool walked = Walk(
      entry.hash,
      [&](uint64_t at, const SerialSlot& slot) {
        last = at;
        there = slot.hash == entry.hash && slot.offset == entry.offset;
        return !there;
      },
      why);
  if (!walked || there) return walked;
  unsigned char bytes[kSlotSize];
  Put64(bytes, entry.hash);
  Put64(bytes + 8, entry.offset);
  if (!pages_.Write(last * kSlotSize, bytes, sizeof bytes, why)) return false;
  ++header_.used;
  return true;
}

bool SerialTable::ForEach(const std::function<bool(const SerialSlot&)>& visit,
                          std::string* why) const {
  std::vector<SerialSlot> block(kCopyBlock);
  for (uint64_t at = 0; at < header_.slots; at += kCopyBlock) {
    const std::size_t count =
        static_cast<std::size_t>(std::min<uint64_t>(kCopyBlock, header_.slots - at));
    if (!ReadSlots(at, block.data(), count, why)) return false;
    for (std::size_t i = 0; i < count; ++i) {
      if (block[i].hash != 0 && !visit(block[i])) return false;
    }
  }
  return true;
}

}  // namespace line
