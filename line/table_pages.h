// A table in a file read and changed a few bytes at a time, through pages
// held in memory: the system is asked for whole pages, and what changed is
// written back together by Flush (or when too many pages are held, so that
// memory stays bounded however large the table grows).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/open_file.h"

namespace line {

class TablePages {
 public:
  // The table starts at `base` in `file`; the file's bytes before it are not touched.
  TablePages(platform::OpenFile& file, uint64_t base) : file_(file), base_(base) {}
  bool Read(uint64_t at, void* data, std::size_t size, std::string* why);
  bool Write(uint64_t at, const void* data, std::size_t size, std::string* why);
  // Writes what changed back (not yet to disk: see OpenFile::Sync).
  bool Flush(std::string* why);

 private:
  struct Page {
    std::vector<unsigned char> bytes;
    std::size_t length = 0;       // what the file holds of it (less for the last page)
    std::size_t changedFrom = 0;  // the changed bytes: [changedFrom, changedTo)
    std::size_t changedTo = 0;
  };
  using Piece =
      std::function<void(Page& page, std::size_t within, std::size_t done, std::size_t part)>;
  bool Pieces(uint64_t at, std::size_t size, const Piece& piece, std::string* why);
  bool Find(uint64_t number, Page** page, std::string* why);
  platform::OpenFile& file_;
  uint64_t base_;
  std::unordered_map<uint64_t, Page> pages_;
};

}  // namespace line
