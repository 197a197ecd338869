#include "sim/session_format.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "sim/device.h"

namespace sim {

std::size_t TextOutputCapacity(const char* name) {
  return std::strcmp(name, "QZ_GetSDKVersion") == 0 ? kSdkVersionBufferSize : kTextBufferSize;
}

std::string SessionOutput(const char*, const char*) { return {}; }
std::string SessionOutput(int32_t, const char*) { return {}; }

std::string SessionOutput(char* text, const char* name) {
  if (text == nullptr) return "null";
  return "out " + QuoteText(BoundedText(text, TextOutputCapacity(name)).c_str());
}

std::string SessionOutput(uint16_t* id, const char*) {
  return id == nullptr ? "null" : "out 0x" + FormatHexId(*id);
}

std::string SessionOutput(int32_t* value, const char*) {
  return value == nullptr ? "null" : "out " + std::to_string(*value);
}

std::string SessionOutput(char** list, const char*) {
  if (list == nullptr) return "null";
  std::string text = "out [";
  for (int i = 0; i < kSessionListEntries && list[i] != nullptr && list[i][0] != '\0'; ++i) {
    if (i > 0) text += ", ";
    text += QuoteText(BoundedText(list[i], kSessionPathSize).c_str());
  }
  return text + "]";
}

std::string SessionCallLine(const std::string& time, const char* name,
                            const std::vector<std::string>& inputs,
                            const std::vector<std::string>& outputs, int32_t result) {
  std::string line = time + " " + name + "(";
  for (std::size_t i = 0; i < inputs.size() && i < outputs.size(); ++i) {
    if (i > 0) line += ", ";
    line += inputs[i].empty() ? outputs[i] : inputs[i];
  }
  return line + ") = " + std::to_string(result) + "\n";
}

std::string SessionRunLine(const std::string& time, long processId, const std::string& library,
                           const std::string& problem) {
  std::string line = "run " + time + " pid " + std::to_string(processId) + " library " +
                     QuoteText(library.c_str());
  if (!problem.empty()) line += " " + problem;
  return line + "\n";
}

namespace {

// Reads a line left to right; every step either takes what it expects or
// leaves a reason in `error`.
class LineReader {
 public:
  explicit LineReader(const std::string& line) : line_(line) {}

  void SkipBlanks() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ == line_.size();
  }
  std::size_t Pos() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos; }
  bool Take(const char* token) {
    SkipBlanks();
    const std::size_t n = std::strlen(token);
    if (line_.compare(pos_, n, token) != 0) return false;
    pos_ += n;
    return true;
  }
  std::string Word() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < line_.size() &&
           (std::isalnum(static_cast<unsigned char>(line_[pos_])) || line_[pos_] == '_'))
      ++pos_;
    return line_.substr(start, pos_ - start);
  }
  bool Number(int64_t* value) {
    SkipBlanks();
    const bool negative = pos_ < line_.size() && line_[pos_] == '-';
    const bool hex = !negative && line_.compare(pos_, 2, "0x") == 0;
    std::size_t p = pos_ + (negative ? 1 : hex ? 2 : 0);
    const std::size_t digitsStart = p;
    uint64_t magnitude = 0;
    for (; p < line_.size() && std::isxdigit(static_cast<unsigned char>(line_[p])); ++p) {
      const char c = line_[p];
      if (!hex && !std::isdigit(static_cast<unsigned char>(c))) break;
      const unsigned digit = std::isdigit(static_cast<unsigned char>(c))
                                 ? static_cast<unsigned>(c - '0')
                                 : static_cast<unsigned>(std::tolower(c) - 'a' + 10);
      magnitude = magnitude * (hex ? 16 : 10) + digit;
      if (magnitude > (uint64_t{1} << 32)) return false;
    }
    if (p == digitsStart) return false;
    pos_ = p;
    *value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
  }
  // A quoted text, undoing QuoteText's escapes.
  bool Text(std::string* text) {
    SkipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') return false;
    text->clear();
    for (std::size_t p = pos_ + 1; p < line_.size(); ++p) {
      const char c = line_[p];
      if (c == '"') {
        pos_ = p + 1;
        return true;
      }
      if (c != '\\') {
        *text += c;
        continue;
      }
      if (p + 1 < line_.size() && (line_[p + 1] == '\\' || line_[p + 1] == '"')) {
        *text += line_[++p];
      } else if (p + 3 < line_.size() && line_[p + 1] == 'x' &&
                 std::isxdigit(static_cast<unsigned char>(line_[p + 2])) &&
                 std::isxdigit(static_cast<unsigned char>(line_[p + 3]))) {
        const int byte = std::stoi(line_.substr(p + 2, 2), nullptr, 16);
        if (byte == 0) return false;
        *text += static_cast<char>(byte);
        p += 3;
      } else {
        return false;
      }
    }
    return false;
  }

 private:
  const std::string& line_;
  std::size_t pos_ = 0;
};

bool ReadValue(LineReader& in, SessionValue* value) {
  value->out = in.Take("out ");
  if (in.Take("null")) {
    value->kind = SessionValue::Kind::kNull;
    return !value->out;
  }
  if (in.Take("[")) {
    value->kind = SessionValue::Kind::kList;
    if (in.Take("]")) return value->out;
    do {
      value->list.emplace_back();
      if (!in.Text(&value->list.back())) return false;
    } while (in.Take(","));
    return in.Take("]") && value->out && value->list.size() <= kSessionListEntries;
  }
  value->kind = SessionValue::Kind::kText;
  if (in.Text(&value->text)) return true;
  value->kind = SessionValue::Kind::kNumber;
  return in.Number(&value->number);
}

bool IsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

}  // namespace

SessionLine ParseSessionLine(const std::string& rawLine, SessionCall* call, std::string* error) {
  std::string line = rawLine;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') return SessionLine::kNote;
  if (line.compare(first, 4, "run ") == 0) return SessionLine::kRun;

  *call = SessionCall();
  LineReader in(line);
  const std::size_t timeEnd = line.find(' ', first);
  if (timeEnd == std::string::npos) {
    *error = "a call needs a time stamp, then NAME(ARGUMENTS) = RESULT";
    return SessionLine::kBad;
  }
  in.Seek(timeEnd);
  in.SkipBlanks();
  const std::size_t callStart = in.Pos();
  call->name = in.Word();
  if (call->name.empty() || !in.Take("(")) {
    *error = "expected an entry-point name and (";
    return SessionLine::kBad;
  }
  if (!in.Take(")")) {
    do {
      call->args.emplace_back();
      if (!ReadValue(in, &call->args.back())) {
        *error = "argument " + std::to_string(call->args.size()) + " cannot be read";
        return SessionLine::kBad;
      }
    } while (in.Take(","));
    if (!in.Take(")")) {
      *error = "expected , or ) after argument " + std::to_string(call->args.size());
      return SessionLine::kBad;
    }
  }
  int64_t result = 0;
  if (!in.Take("=") || !in.Number(&result) || !IsInt32(result) || !in.AtEnd()) {
    *error = "expected = and a 32-bit result at the end";
    return SessionLine::kBad;
  }
  call->result = static_cast<int32_t>(result);
  call->written = line.substr(callStart);
  return SessionLine::kCall;
}

}  // namespace sim
