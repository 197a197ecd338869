// The record's lines as they lie in the file, read a piece at a time so that
// a record of any length costs the same memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/open_file.h"

namespace line {

// A line longer than this is no line of ours: it is skipped, never held.
constexpr std::size_t kMaxRecordLine = std::size_t{1} << 20;

// The lines that start in [from, to) of the record, one after the other; the
// last one may lack its line end (a torn tail, or an edit without one).
class RecordLineReader {
 public:
  RecordLineReader(const platform::OpenFile& record, uint64_t from, uint64_t to);
  // The next line without its end (valid until the next call) and where it
  // starts. False at the end, or on a failure with `why` set.
  bool Next(std::string_view* line, uint64_t* offset, std::string* why);

 private:
  bool Fill(std::string* why);
  const platform::OpenFile& record_;
  uint64_t bufferAt_;  // the record's offset of buffer_[0]
  uint64_t to_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // the unread bytes: buffer_[begin_, end_)
  std::size_t end_ = 0;
  bool skipping_ = false;  // within a line too long to hold
};

// The whole line that starts at `offset` (empty when `offset` starts no line).
bool RecordLineAt(const platform::OpenFile& record, uint64_t offset, std::string* line,
                  std::string* why);

}  // namespace line
