#include "line/record_lines.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace line {

namespace {

// Big enough for a few hundred lines a read; grown for a longer line.
constexpr std::size_t kFirstBuffer = std::size_t{64} << 10;

}  // namespace

RecordLineReader::RecordLineReader(const platform::OpenFile& record, uint64_t from, uint64_t to)
    : record_(record), bufferAt_(from), to_(to), buffer_(kFirstBuffer) {}

bool RecordLineReader::Next(std::string_view* line, uint64_t* offset, std::string* why) {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const char* end = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const bool atEnd = bufferAt_ + end_ >= to_;
    if (end != nullptr || (atEnd && begin_ < end_)) {
      const std::size_t length =
          end != nullptr ? static_cast<std::size_t>(end - start) : end_ - begin_;
      *line = std::string_view(start, length);
      *offset = bufferAt_ + begin_;
      begin_ += length + (end != nullptr ? 1 : 0);
      if (std::exchange(skipping_, false)) continue;
      return true;
    }
    if (atEnd) return false;
    if (begin_ == 0 && end_ == buffer_.size()) {
      // A full buffer without a line end: a bigger one, up to the longest line held.
      if (buffer_.size() < kMaxRecordLine) {
        buffer_.resize(buffer_.size() * 2);
      } else {
        skipping_ = true;
        begin_ = end_;
      }
    }
    if (!Fill(why)) return false;
  }
}

bool RecordLineReader::Fill(std::string* why) {
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  bufferAt_ += begin_;
  end_ -= begin_;
  begin_ = 0;
  const uint64_t left = to_ - (bufferAt_ + end_);
  const std::size_t want =
      static_cast<std::size_t>(std::min<uint64_t>(left, buffer_.size() - end_));
  std::size_t got = 0;
  if (!record_.ReadAt(bufferAt_ + end_, buffer_.data() + end_, want, &got, why)) return false;
  end_ += got;
  // A record cut shorter meanwhile ends where it ends now.
  if (got < want) to_ = bufferAt_ + end_;
  return true;
}

bool RecordLineAt(const platform::OpenFile& record, uint64_t offset, std::string* line,
                  std::string* why) {
  line->clear();
  uint64_t size = 0;
  if (!record.Size(&size, why)) return false;
  // Read from the byte before: a line starts after a line end (or at 0).
  RecordLineReader reader(record, offset == 0 ? 0 : offset - 1, size);
  std::string_view text;
  uint64_t at = 0;
  std::string error;
  const bool startsLine = offset == 0 || (reader.Next(&text, &at, &error) && text.empty());
  // A line too long to hold is skipped, and the reader is then past it.
  if (startsLine && reader.Next(&text, &at, &error) && at == offset) line->assign(text);
  if (error.empty()) return true;
  *why = error;
  return false;
}

}  // namespace line
