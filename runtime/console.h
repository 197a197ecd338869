// The tool's only output channel (standard output) and its input.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#if defined(__GNUC__)
#define CONSOLE_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define CONSOLE_PRINTF_FORMAT(f, a)
#endif

namespace runtime {

// printf-style output to standard output.
int ConsolePrint(const char* format, ...) CONSOLE_PRINTF_FORMAT(1, 2);

// Sends what was printed on its way: progress lines reach a pipe or a file
// as they are printed, not when the buffer fills.
void ConsoleFlush();

enum class WordRead { kRead, kTooLong, kEndOfInput };

// Reads one white-space-delimited word into buffer (size bytes, terminator
// included), as "%s" does but never past the buffer: a longer word is
// consumed whole and reported as kTooLong, with the buffer left empty.
WordRead ConsoleReadWord(char* buffer, size_t size);

// As ConsoleReadWord, for a number: leading zeros (after an optional sign) are
// dropped while reading, so any zero-padded number fits a small buffer.
WordRead ConsoleReadNumberWord(char* buffer, size_t size);

// Waits for the next line feed (or the end of input); the rest of a line that
// a word read has left pending does not count as the wait's Enter.
void ConsoleWaitForEnter();

// Tests and fuzzers redirect the console; null restores the standard streams.
void ConsoleSetStreams(FILE* input, FILE* output);

// While it lives, what ConsolePrint prints is collected instead: the
// production line files the operations' messages with the step of the unit
// that made them.
class ConsoleCollector {
 public:
  ConsoleCollector();
  ~ConsoleCollector();
  const std::string& Text() const { return text_; }
  ConsoleCollector(const ConsoleCollector&) = delete;
  ConsoleCollector& operator=(const ConsoleCollector&) = delete;

 private:
  std::string text_;
  std::string* outer_;
};

}  // namespace runtime
