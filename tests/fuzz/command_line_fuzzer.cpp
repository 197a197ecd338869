// Argument vectors for RunCommandLine, over the scripted recording fake.
//
// The front end's part of the input is split on line feeds into the elements
// after the program name (at most kMaxElements; an empty part is one empty
// element 1, as a shell passes "").
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/console.h"
#include "tests/fuzz/library_script.h"
#include "ui/command_line.h"

namespace {

constexpr size_t kMaxElements = 32;

FILE* sink = nullptr;

std::vector<std::string> SplitElements(const std::string& text) {
  std::vector<std::string> elements;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    elements.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos || elements.size() == kMaxElements) break;
    start = end + 1;
  }
  for (std::string& element : elements) KeepInScratchDirectory(element);
  return elements;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sink = PrepareFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInput input = SplitFuzzInput(data, size);
  // Each element in its own allocation, so a read past one's end is caught.
  std::vector<std::vector<char>> storage;
  std::vector<const char*> argv = {"bridgefw"};
  for (const std::string& element : SplitElements(input.frontEnd)) {
    storage.emplace_back(element.c_str(), element.c_str() + element.size() + 1);
  }
  for (const std::vector<char>& element : storage) argv.push_back(element.data());
  argv.push_back(nullptr);

  InstallScriptedLibrary(input.script);
  ConsoleSetStreams(stdin, sink);
  RunCommandLine(argv.data());
  ConsoleSetStreams(nullptr, nullptr);
  ShowCalls();
  if (!AtMostOneCommit()) std::abort();
  UninstallScriptedLibrary();
  return 0;
}
