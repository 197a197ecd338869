// Redirects the console for one test: output captured, input scripted.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/console.h"

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = "")
      : in_(std::tmpfile()), out_(open_memstream(&buffer_, &size_)) {
    std::fwrite(input.data(), 1, input.size(), in_);
    std::rewind(in_);
    runtime::ConsoleSetStreams(in_, out_);
  }
  ~ConsoleCapture() {
    runtime::ConsoleSetStreams(nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
    std::free(buffer_);
  }
  std::string Output() {
    std::fflush(out_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  FILE *in_, *out_;
};
