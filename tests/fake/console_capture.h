// Redirects the console for one test: output captured, input scripted.
#pragma once

#include <cstdio>
#include <string>

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = std::string());
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  std::string Output();  // everything printed so far

 private:
  FILE* input_;
  FILE* output_;
};
