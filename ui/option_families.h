// The option families of the command line. RunCommandLine recognises the
// option and hands its letter after the family letter (lowered: 'v' for -gvd,
// -sv; 'b' for -ub) to the family, with the argument vector and the zeroed
// 80-byte resultText. Each returns what RunCommandLine returns.
#pragma once

#include <cstdint>

int32_t RunReaderOption(char option, const char* const* argv, char* resultText);
int32_t RunWriterOption(char option, const char* const* argv, char* resultText);
int32_t RunUpdateOption(char option, const char* const* argv, char* resultText);

constexpr const char* kPleaseInputParameter = "Please input parameter.\n";

// The value-element rule shared by the options that take values: elements 2
// to 1 + count must exist (count 1 for most options, 2 for -sn). When one is
// absent it prints kPleaseInputParameter and returns false; a present value
// is accepted whatever it holds, the empty text included.
bool HasValueElements(const char* const* argv, int count);
