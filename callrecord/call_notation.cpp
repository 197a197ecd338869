#include "callrecord/call_notation.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "sdk/api_sizes.h"

namespace callrecord {
namespace {

using Kind = CallValue::Kind;

// `out` until the outputs are told; then `null` or `out=VALUE`.
template <typename T, typename Format>
std::string OutputText(T* output, bool told, Format format) {
  if (!told) return "out";
  return output == nullptr ? "null" : "out=" + format(output);
}

bool OutputAgrees(const void* output, const CallValue& value, Kind kind) {
  if (value.kind == Kind::kNull) return output == nullptr;
  return output != nullptr && value.out && value.kind == kind;
}

bool InRange(const CallValue& value, int64_t min, int64_t max) {
  return value.number >= min && value.number <= max;
}

// As the library leaves a text: its terminator too, as far as the buffer reaches.
void LeaveText(char* out, const std::string& text, std::size_t capacity) {
  if (out != nullptr) std::memcpy(out, text.c_str(), std::min(text.size() + 1, capacity));
}

}  // namespace

std::string QuoteText(const char* text) {
  if (text == nullptr) return "null";
  std::string quoted = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p == '\\' || *p == '"') {
      quoted += '\\';
      quoted += static_cast<char>(*p);
    } else if (*p < 0x20 || *p > 0x7E) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(*p));
      quoted += escape;
    } else {
      quoted += static_cast<char>(*p);
    }
  }
  quoted += '"';
  return quoted;
}

std::string BoundedText(const char* text, std::size_t capacity) {
  std::size_t n = 0;
  while (n < capacity && text[n] != '\0') ++n;
  return std::string(text, n);
}

std::size_t TextOutputCapacity(const char* name) {
  return std::strcmp(name, "QZ_GetSDKVersion") == 0 ? kSdkVersionSize : kLibraryTextSize;
}

std::string ArgText(const char* text, const char*, bool) { return QuoteText(text); }

bool Agrees(const char* text, const CallValue& value) {
  if (value.kind == Kind::kNull) return text == nullptr;
  return text != nullptr && !value.out && value.kind == Kind::kText && value.text == text;
}

std::string ArgText(int32_t value, const char*, bool) { return std::to_string(value); }

bool Agrees(int32_t value, const CallValue& recorded) {
  return !recorded.out && recorded.kind == Kind::kNumber && recorded.number == value;
}

std::string ArgText(char* text, const char* name, bool told) {
  return OutputText(text, told, [name](const char* t) {
    return QuoteText(BoundedText(t, TextOutputCapacity(name)).c_str());
  });
}

bool Agrees(char* text, const CallValue& value) { return OutputAgrees(text, value, Kind::kText); }

void WriteOutput(char* text, const CallValue& value, const char* name) {
  LeaveText(text, value.text, TextOutputCapacity(name));
}

std::string ArgText(uint16_t* id, const char*, bool told) {
  return OutputText(id, told, [](const uint16_t* i) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(*i));
    return std::string(text);
  });
}

bool Agrees(uint16_t* id, const CallValue& value) {
  return OutputAgrees(id, value, Kind::kNumber) && InRange(value, 0, 0xFFFF);
}

void WriteOutput(uint16_t* id, const CallValue& value, const char*) {
  if (id != nullptr) *id = static_cast<uint16_t>(value.number);
}

std::string ArgText(int32_t* number, const char*, bool told) {
  return OutputText(number, told, [](const int32_t* n) { return std::to_string(*n); });
}

bool Agrees(int32_t* number, const CallValue& value) {
  return OutputAgrees(number, value, Kind::kNumber) &&
         InRange(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

void WriteOutput(int32_t* number, const CallValue& value, const char*) {
  if (number != nullptr) *number = static_cast<int32_t>(value.number);
}

bool Agrees(char** list, const CallValue& value) { return OutputAgrees(list, value, Kind::kList); }

void WriteOutput(char** list, const CallValue& value, const char*) {
  if (list == nullptr) return;
  for (std::size_t i = 0; i < value.list.size() && i < kMaxDevices && list[i] != nullptr; ++i) {
    LeaveText(list[i], value.list[i], kDevicePathSize);
  }
}

std::string ArgsText(const char* name, const std::tuple<char**, int32_t*>& args, bool told) {
  char** list = std::get<0>(args);
  int32_t* count = std::get<1>(args);
  const std::string counted = ArgText(count, name, told);
  if (!told) return "list, " + counted;
  if (list == nullptr) return "null, " + counted;
  std::string text = "list=[";
  for (int32_t i = 0; count != nullptr && i < *count && i < kMaxDevices; ++i) {
    if (i > 0) text += ", ";
    text += list[i] == nullptr ? "null" : QuoteText(BoundedText(list[i], kDevicePathSize).c_str());
  }
  return text + "], " + counted;
}

std::string ResultText(int32_t result) { return " = " + std::to_string(result); }

}  // namespace callrecord
