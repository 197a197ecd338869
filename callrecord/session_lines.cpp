#include "callrecord/session_lines.h"

#include <algorithm>
#include <cstring>

namespace callrecord {
namespace {

constexpr std::size_t kPiece = 65536;

// PID-DIGITS
bool IsRunId(std::string_view word) {
  const std::size_t dash = word.find('-');
  auto digits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(word.substr(0, dash)) &&
         digits(word.substr(dash + 1));
}

// The text after the first word and the blanks behind it.
std::string_view AfterWord(std::string_view text, std::string_view* word) {
  const std::size_t end = std::min(text.find(' '), text.size());
  *word = text.substr(0, end);
  text.remove_prefix(end);
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  return text;
}

}  // namespace

std::string SessionRunId(long processId, const std::string& startTime) {
  std::string id = std::to_string(processId) + "-";
  for (char c : startTime) {
    if (c >= '0' && c <= '9') id += c;
  }
  return id;
}

std::string SessionRunLine(const std::string& time, const std::string& run,
                           const std::string& command, bool cut, const std::string& library,
                           const std::string& problem) {
  std::string line = time + " " + run + " run";
  if (!command.empty()) {
    // Each piece a text of its own: arguments never run into each other.
    line += " command";
    for (std::size_t start = 0, end = 0; end != command.size(); start = end + 1) {
      end = std::min(command.find('\0', start), command.size());
      line += " " + QuoteText(command.substr(start, end - start).c_str());
    }
    if (cut) line += " ...";
  }
  line += " library " + QuoteText(library.c_str());
  if (!problem.empty()) line += " " + problem;
  return line + "\n";
}

std::string SessionCallLine(const std::string& time, const std::string& run,
                            const std::string& call, int32_t result) {
  return time + " " + run + " " + call + ResultText(result) + "\n";
}

SessionLineParts SplitSessionLine(std::string_view line) {
  SessionLineParts parts;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == '#') return parts;
  line.remove_prefix(first);
  parts.kind = SessionLine::kRun;
  if (line.substr(0, 4) == "run ") return parts;  // the older form
  std::string_view word;
  const std::string_view afterTime = AfterWord(line, &word);
  parts.kind = SessionLine::kBad;
  if (word.size() == line.size()) return parts;
  const std::string_view afterRun = AfterWord(afterTime, &word);
  parts.kind = SessionLine::kCall;
  if (!IsRunId(word)) {
    parts.call = afterTime;  // the older form: no run id
    return parts;
  }
  parts.run = word;
  parts.call = afterRun;
  std::string_view keyword;
  AfterWord(afterRun, &keyword);
  if (keyword == "run") parts.kind = SessionLine::kRun;
  return parts;
}

SessionReader::SessionReader(std::FILE* file)
    : file_(file), buffer_(kMaxSessionLine + 1 + kPiece) {}

bool SessionReader::Fill() {
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += n;
  return n > 0;
}

bool SessionReader::Next(std::string_view* line) {
  tooLong_ = false;
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const auto* feed = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    if (skipping_) {
      const std::size_t skipped =
          feed == nullptr ? end_ - begin_ : static_cast<std::size_t>(feed + 1 - start);
      offset_ += skipped;
      begin_ += skipped;
      skipping_ = feed == nullptr;
      if (skipping_ && !Fill()) return false;
      continue;
    }
    std::size_t length = feed == nullptr ? end_ - begin_ : static_cast<std::size_t>(feed - start);
    if (length > kMaxSessionLine) {
      // Cut here; the rest of the line is passed over at the next call.
      length = kMaxSessionLine;
      tooLong_ = skipping_ = true;
    } else if (feed == nullptr && Fill()) {
      continue;
    } else if (length == 0 && feed == nullptr) {
      return false;  // the end of the file
    }
    *line = std::string_view(buffer_.data() + begin_, length);
    const std::size_t taken = length + (feed != nullptr && !tooLong_ ? 1 : 0);
    begin_ += taken;
    offset_ += taken;
    ++lineNumber_;
    return true;
  }
}

bool SessionReader::Return(uint64_t offset, uint64_t lineNumber) {
  std::rewind(file_);
  begin_ = end_ = 0;
  skipping_ = tooLong_ = false;
  offset_ = offset;
  lineNumber_ = lineNumber;
  // In steps that a long takes on every system.
  for (uint64_t left = offset; left > 0;) {
    const uint64_t step = std::min<uint64_t>(left, uint64_t{1} << 30);
    if (std::fseek(file_, static_cast<long>(step), SEEK_CUR) != 0) return false;
    left -= step;
  }
  return true;
}

}  // namespace callrecord
