#include "tests/fake/console_capture.h"

#include "app/console.h"

ConsoleCapture::ConsoleCapture(const std::string& input)
    : input_(std::tmpfile()), output_(std::tmpfile()) {
  std::fwrite(input.data(), 1, input.size(), input_);
  std::rewind(input_);
  ConsoleSetStreams(input_, output_);
}

ConsoleCapture::~ConsoleCapture() {
  ConsoleSetStreams(nullptr, nullptr);
  std::fclose(input_);
  std::fclose(output_);
}

std::string ConsoleCapture::Output() {
  std::fflush(output_);
  const long end = std::ftell(output_);
  std::string text(static_cast<size_t>(end), '\0');
  std::rewind(output_);
  const size_t got = std::fread(&text[0], 1, text.size(), output_);
  text.resize(got);
  std::fseek(output_, 0, SEEK_END);
  return text;
}
