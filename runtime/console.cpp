#include "runtime/console.h"

#include <cctype>
#include <cstdarg>
#include <cstring>
#include <string>

namespace runtime {

namespace {

// The streams tests and fuzzers put in place of standard input and output.
FILE* RedirectedInput = nullptr;
FILE* RedirectedOutput = nullptr;
// A word read stopped inside a line whose line feed is still unread.
bool LineLeftOpen = false;
// While set, ConsolePrint appends here instead of printing (a ConsoleCollector's).
std::string* CapturedText = nullptr;

FILE* Input() { return RedirectedInput != nullptr ? RedirectedInput : stdin; }
FILE* Output() { return RedirectedOutput != nullptr ? RedirectedOutput : stdout; }

}  // namespace

int ConsolePrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int written = 0;
  if (CapturedText == nullptr) {
    written = std::vfprintf(Output(), format, arguments);
  } else {
    va_list again;
    va_copy(again, arguments);
    written = std::vsnprintf(nullptr, 0, format, arguments);
    if (written > 0) {
      const size_t start = CapturedText->size();
      CapturedText->resize(start + static_cast<size_t>(written) + 1);
      std::vsnprintf(&(*CapturedText)[start], static_cast<size_t>(written) + 1, format, again);
      CapturedText->resize(start + static_cast<size_t>(written));
    }
    va_end(again);
  }
  va_end(arguments);
  return written;
}

ConsoleCollector::ConsoleCollector() : outer_(CapturedText) { CapturedText = &text_; }

ConsoleCollector::~ConsoleCollector() { CapturedText = outer_; }

void ConsoleFlush() {
  if (CapturedText == nullptr) std::fflush(Output());
}

namespace {

// Reads one word; with squeezeZeros, zeros after an optional sign that are
// followed by another digit are dropped, so a zero-padded number of any
// length fits the buffer without changing its value.
WordRead ReadWord(char* buffer, size_t size, bool squeezeZeros) {
  std::fflush(Output());
  if (size > 0) std::memset(buffer, 0, size);
  FILE* in = Input();
  int c = std::fgetc(in);
  while (c != EOF && std::isspace(c)) c = std::fgetc(in);
  if (c == EOF) return WordRead::kEndOfInput;
  size_t length = 0;
  bool tooLong = false;
  while (c != EOF && !std::isspace(c)) {
    const size_t signLength = length > 0 && (buffer[0] == '-' || buffer[0] == '+') ? 1 : 0;
    if (squeezeZeros && !tooLong && std::isdigit(c) && length == signLength + 1 &&
        buffer[signLength] == '0') {
      buffer[signLength] = static_cast<char>(c);
    } else if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    } else {
      tooLong = true;
    }
    c = std::fgetc(in);
  }
  // The delimiter stays for the next read, as with scanf.
  if (c != EOF) std::ungetc(c, in);
  LineLeftOpen = c != EOF;
  if (tooLong) {
    if (size > 0) std::memset(buffer, 0, size);
    return WordRead::kTooLong;
  }
  return WordRead::kRead;
}

}  // namespace

WordRead ConsoleReadWord(char* buffer, size_t size) { return ReadWord(buffer, size, false); }

WordRead ConsoleReadNumberWord(char* buffer, size_t size) { return ReadWord(buffer, size, true); }

void ConsoleWaitForEnter() {
  std::fflush(Output());
  FILE* in = Input();
  for (int lines = LineLeftOpen ? 2 : 1; lines > 0; --lines) {
    int c = std::fgetc(in);
    while (c != EOF && c != '\n') c = std::fgetc(in);
    if (c == EOF) break;
  }
  LineLeftOpen = false;
}

void ConsoleSetStreams(FILE* input, FILE* output) {
  RedirectedInput = input;
  RedirectedOutput = output;
}

}  // namespace runtime
