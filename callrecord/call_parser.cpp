// Reading a call back from its notation (callrecord/call_notation.h).
#include <cctype>
#include <cstring>
#include <limits>

#include "callrecord/call_notation.h"
#include "sdk/api_sizes.h"

namespace callrecord {
namespace {

// Reads a text left to right; every step either takes what it expects or
// leaves the position where it was.
class TextReader {
 public:
  explicit TextReader(const std::string& text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }
  bool Take(const char* token) {
    SkipBlanks();
    const std::size_t n = std::strlen(token);
    if (text_.compare(pos_, n, token) != 0) return false;
    pos_ += n;
    return true;
  }
  std::string Word() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
      ++pos_;
    return text_.substr(start, pos_ - start);
  }
  // A decimal number, or a hexadecimal one after 0x.
  bool Number(int64_t* value) {
    SkipBlanks();
    const bool negative = pos_ < text_.size() && text_[pos_] == '-';
    const bool hex = !negative && text_.compare(pos_, 2, "0x") == 0;
    std::size_t p = pos_ + (negative ? 1 : hex ? 2 : 0);
    const std::size_t digitsStart = p;
    uint64_t magnitude = 0;
    for (; p < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[p])); ++p) {
      const char c = text_[p];
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
    if (pos_ >= text_.size() || text_[pos_] != '"') return false;
    text->clear();
    for (std::size_t p = pos_ + 1; p < text_.size(); ++p) {
      const char c = text_[p];
      if (c == '"') {
        pos_ = p + 1;
        return true;
      }
      if (c != '\\') {
        *text += c;
        continue;
      }
      if (p + 1 < text_.size() && (text_[p + 1] == '\\' || text_[p + 1] == '"')) {
        *text += text_[++p];
      } else if (p + 3 < text_.size() && text_[p + 1] == 'x' &&
                 std::isxdigit(static_cast<unsigned char>(text_[p + 2])) &&
                 std::isxdigit(static_cast<unsigned char>(text_[p + 3]))) {
        const int byte = std::stoi(text_.substr(p + 2, 2), nullptr, 16);
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
  const std::string& text_;
  std::size_t pos_ = 0;
};

// An argument. Sessions written before the one notation wrote an output as
// `out VALUE` and the device list as `out [...]`; both still read.
bool ReadValue(TextReader& in, CallValue* value) {
  const bool listed = in.Take("list=");
  value->out = listed || in.Take("out=") || in.Take("out ");
  if (!listed && in.Take("null")) {
    value->kind = CallValue::Kind::kNull;
    return !value->out;
  }
  if (in.Take("[")) {
    value->kind = CallValue::Kind::kList;
    if (in.Take("]")) return value->out;
    do {
      value->list.emplace_back();
      if (!in.Text(&value->list.back())) return false;
    } while (in.Take(","));
    return in.Take("]") && value->out && value->list.size() <= kMaxDevices;
  }
  if (listed) return false;
  value->kind = CallValue::Kind::kText;
  if (in.Text(&value->text)) return true;
  value->kind = CallValue::Kind::kNumber;
  return in.Number(&value->number);
}

bool IsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

}  // namespace

bool ParseCall(const std::string& text, RecordedCall* call, std::string* error) {
  *call = RecordedCall();
  TextReader in(text);
  call->name = in.Word();
  if (call->name.empty() || !in.Take("(")) {
    *error = "expected an entry-point name and (";
    return false;
  }
  if (!in.Take(")")) {
    do {
      call->args.emplace_back();
      if (!ReadValue(in, &call->args.back())) {
        *error = "argument " + std::to_string(call->args.size()) + " cannot be read";
        return false;
      }
    } while (in.Take(","));
    if (!in.Take(")")) {
      *error = "expected , or ) after argument " + std::to_string(call->args.size());
      return false;
    }
  }
  int64_t result = 0;
  if (!in.Take("=") || !in.Number(&result) || !IsInt32(result) || !in.AtEnd()) {
    *error = "expected = and a 32-bit result at the end";
    return false;
  }
  call->result = static_cast<int32_t>(result);
  call->written = text;
  return true;
}

}  // namespace callrecord
