#include "app/console.h"

#include <cctype>
#include <cstdarg>
#include <cstring>

namespace {

FILE* consoleInput = nullptr;
FILE* consoleOutput = nullptr;

FILE* Input() { return consoleInput != nullptr ? consoleInput : stdin; }
FILE* Output() { return consoleOutput != nullptr ? consoleOutput : stdout; }

}  // namespace

int ConsolePrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = std::vfprintf(Output(), format, arguments);
  va_end(arguments);
  return written;
}

WordRead ConsoleReadWord(char* buffer, size_t size) {
  std::fflush(Output());
  if (size > 0) std::memset(buffer, 0, size);
  FILE* in = Input();
  int c = std::fgetc(in);
  while (c != EOF && std::isspace(c)) c = std::fgetc(in);
  if (c == EOF) return WordRead::kEndOfInput;
  size_t length = 0;
  bool tooLong = false;
  while (c != EOF && !std::isspace(c)) {
    if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    } else {
      tooLong = true;
    }
    c = std::fgetc(in);
  }
  // The delimiter stays for the next read, as with scanf.
  if (c != EOF) std::ungetc(c, in);
  if (tooLong) {
    if (size > 0) std::memset(buffer, 0, size);
    return WordRead::kTooLong;
  }
  return WordRead::kRead;
}

void ConsoleSetStreams(FILE* input, FILE* output) {
  consoleInput = input;
  consoleOutput = output;
}
