#include "line/table_pages.h"

#include <algorithm>
#include <cstring>

namespace line {

namespace {

// The system's page: a lookup or a single entry reads and writes no more.
constexpr std::size_t kPageSize = 4096;
// 64 MiB: all of an index of some two million serials.
constexpr std::size_t kMaxPages = 16384;

}  // namespace

bool TablePages::Find(uint64_t number, Page** page, std::string* why) {
  const auto found = pages_.find(number);
  if (found != pages_.end()) {
    *page = &found->second;
    return true;
  }
  if (pages_.size() >= kMaxPages) {
    if (!Flush(why)) return false;
    pages_.clear();
  }
  Page& fresh = pages_[number];
  fresh.bytes.assign(kPageSize, 0);
  if (!file_.ReadAt(base_ + number * kPageSize, fresh.bytes.data(), kPageSize, &fresh.length,
                    why)) {
    pages_.erase(number);
    return false;
  }
  *page = &fresh;
  return true;
}

// Hands `piece` each part of [at, at + size) that lies within one page.
bool TablePages::Pieces(uint64_t at, std::size_t size, const Piece& piece, std::string* why) {
  for (std::size_t done = 0; done < size;) {
    Page* page = nullptr;
    const std::size_t within = static_cast<std::size_t>((at + done) % kPageSize);
    const std::size_t part = std::min(size - done, kPageSize - within);
    if (!Find((at + done) / kPageSize, &page, why)) return false;
    piece(*page, within, done, part);
    done += part;
  }
  return true;
}

bool TablePages::Read(uint64_t at, void* data, std::size_t size, std::string* why) {
  return Pieces(
      at, size,
      [&](Page& page, std::size_t within, std::size_t done, std::size_t part) {
        std::memcpy(static_cast<unsigned char*>(data) + done, page.bytes.data() + within, part);
      },
      why);
}

bool TablePages::Write(uint64_t at, const void* data, std::size_t size, std::string* why) {
  return Pieces(
      at, size,
      [&](Page& page, std::size_t within, std::size_t done, std::size_t part) {
        std::memcpy(page.bytes.data() + within, static_cast<const unsigned char*>(data) + done,
                    part);
        const bool unchanged = page.changedTo == 0;
        page.changedFrom = unchanged ? within : std::min(page.changedFrom, within);
        page.changedTo = std::max(page.changedTo, within + part);
        page.length = std::max(page.length, within + part);
      },
      why);
}

bool TablePages::Flush(std::string* why) {
  // In the file's order, so that the system writes it in one sweep.
  std::vector<uint64_t> changed;
  for (const auto& held : pages_) {
    if (held.second.changedTo != 0) changed.push_back(held.first);
  }
  std::sort(changed.begin(), changed.end());
  for (const uint64_t number : changed) {
    Page& page = pages_[number];
    if (!file_.WriteAt(base_ + number * kPageSize + page.changedFrom,
                       page.bytes.data() + page.changedFrom, page.changedTo - page.changedFrom,
                       why)) {
      return false;
    }
    page.changedFrom = page.changedTo = 0;
  }
  return true;
}

}  // namespace line
