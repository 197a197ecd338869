// The tool's only output channel (standard output) and its input.
#pragma once

#include <cstddef>
#include <cstdio>

#if defined(__GNUC__)
#define CONSOLE_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define CONSOLE_PRINTF_FORMAT(f, a)
#endif

// printf-style output to standard output.
int ConsolePrint(const char* format, ...) CONSOLE_PRINTF_FORMAT(1, 2);

enum class WordRead { kRead, kTooLong, kEndOfInput };

// Reads one white-space-delimited word into buffer (size bytes, terminator
// included), as "%s" does but never past the buffer: a longer word is
// consumed whole and reported as kTooLong, with the buffer left empty.
WordRead ConsoleReadWord(char* buffer, size_t size);

// Tests and fuzzers redirect the console; null restores the standard streams.
void ConsoleSetStreams(FILE* input, FILE* output);
