// Standard input for RunMenu, over the scripted recording fake: the front
// end's part of the input is what is typed, byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/console.h"
#include "tests/fuzz/library_script.h"
#include "ui/menu.h"

namespace {

FILE* sink = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sink = PrepareFuzzProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input = SplitFuzzInput(data, size);
  KeepInScratchDirectory(input.frontEnd);
  // fmemopen refuses an empty buffer on some C libraries.
  FILE* typed = input.frontEnd.empty() ? std::fopen("/dev/null", "r")
                                       : fmemopen(&input.frontEnd[0], input.frontEnd.size(), "r");
  if (typed == nullptr) std::abort();

  InstallScriptedLibrary(input.script);
  ConsoleSetStreams(typed, sink);
  RunMenu();
  ConsoleSetStreams(nullptr, nullptr);
  ShowCalls();
  std::fclose(typed);
  if (!AtMostOneCommit()) std::abort();
  UninstallScriptedLibrary();
  return 0;
}
