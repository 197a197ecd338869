#include "line/shift_reading.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "line/record_lines.h"
#include "platform/open_file.h"

namespace line::shift {

namespace {

// Big enough to pass over a skipped line in a few reads.
constexpr std::size_t kSkipBuffer = std::size_t{64} << 10;

// One record's lines as they come, numbered from 1.
class RecordRead {
 public:
  RecordRead(const std::string& path, const platform::OpenFile& file, ShiftTally* tally)
      : path_(path), file_(file), tally_(tally) {}
  // The next line, which starts at `offset`.
  bool Take(std::string_view line, uint64_t offset, std::string* why);
  // The lines before `offset` that the line reader passed over (each too
  // long for it to hold): bad lines too.
  bool SkipTo(uint64_t offset, std::string* why);
  uint64_t RecordLines() const { return recordLines_; }

 private:
  bool NotText(uint64_t number, std::string* why) const {
    *why = path_ + " is not a text file (a NUL byte on line " + std::to_string(number) + ")";
    return false;
  }
  void Bad(uint64_t number) {
    ++tally_->badLineCount;
    if (tally_->badLines.size() < kNamedBadLines) tally_->badLines.push_back({path_, number});
  }
  const std::string& path_;
  const platform::OpenFile& file_;
  ShiftTally* tally_;
  uint64_t number_ = 0;  // the lines so far
  uint64_t next_ = 0;    // where the next line starts
  uint64_t recordLines_ = 0;
};

bool RecordRead::Take(std::string_view line, uint64_t offset, std::string* why) {
  if (!SkipTo(offset, why)) return false;
  ++number_;
  next_ = offset + line.size() + 1;
  if (line.find('\0') != std::string_view::npos) return NotText(number_, why);
  // An editor's empty last line holds nothing to count.
  if (line.find_first_not_of(" \t\r") == std::string_view::npos) return true;
  if (TallyRecordLine(ParsedJson(line), tally_)) {
    ++recordLines_;
  } else {
    Bad(number_);
  }
  return true;
}

bool RecordRead::SkipTo(uint64_t offset, std::string* why) {
  std::vector<char> buffer;
  uint64_t lineEnds = 0;
  char last = '\n';
  for (uint64_t at = next_; at < offset;) {
    buffer.resize(static_cast<std::size_t>(std::min<uint64_t>(kSkipBuffer, offset - at)));
    std::size_t got = 0;
    if (!file_.ReadAt(at, buffer.data(), buffer.size(), &got, why)) return false;
    if (got == 0) break;
    const auto end = buffer.begin() + static_cast<std::ptrdiff_t>(got);
    const auto nul = std::find(buffer.begin(), end, '\0');
    const auto ends = static_cast<uint64_t>(std::count(buffer.begin(), nul, '\n'));
    if (nul != end) return NotText(number_ + lineEnds + ends + 1, why);
    lineEnds += ends;
    last = *(end - 1);
    at += got;
  }
  // A skipped last line may lack its line end.
  const uint64_t skipped = lineEnds + (last != '\n' ? 1 : 0);
  for (uint64_t line = 0; line < skipped; ++line) Bad(++number_);
  next_ = std::max(next_, offset);
  return true;
}

}  // namespace

bool ReadShiftRecord(const std::string& path, ShiftTally* tally, std::string* why) {
  why->clear();
  const auto file = platform::OpenFile::Open(path, platform::OpenFor::kRead, why);
  uint64_t size = 0;
  if (!file || !file->Size(&size, why)) return false;
  if (size == 0) {
    *why = path + " is empty";
    return false;
  }
  RecordRead read(path, *file, tally);
  RecordLineReader reader(*file, 0, size);
  std::string_view line;
  uint64_t offset = 0;
  while (reader.Next(&line, &offset, why)) {
    if (!read.Take(line, offset, why)) return false;
  }
  if (!why->empty() || !read.SkipTo(size, why)) return false;
  if (read.RecordLines() == 0) {
    *why = path + " holds no record line (a JSON object with a \"result\")";
    return false;
  }
  return true;
}

}  // namespace line::shift
