// What the front-end tests share, and the expected pages of the transcripts.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/device_list.h"
#include "tests/fake/console_capture.h"
#include "tests/fake/fake_library.h"

inline std::string ExpectedPage(const std::string& name) {
  std::ifstream in(std::string(BRIDGEFW_TEST_EXPECTED) + "/" + name, std::ios::binary);
  std::stringstream page;
  page << in.rdbuf();
  return page.str();
}

// Every read the tool makes, failing.
constexpr const char* kReadsFail =
    "QZ_GetRunningCodeMode,QZ_GetVIDfromFlash,QZ_GetPIDfromFlash,QZ_GetManuStrfromFlash,"
    "QZ_GetProdStrfromFlash,QZ_GetSNfromFlash,QZ_GetHDDStrfromFlash,QZ_GetStandbyTimerfromFlash";

// True when the calls hold the '|'-separated parts, in this order.
inline bool CallsInclude(const std::vector<std::string>& calls, const std::string& parts) {
  std::string all;
  for (const std::string& call : calls) all += call + "\n";
  size_t at = 0;
  std::istringstream in(parts);
  for (std::string part; std::getline(in, part, '|') && at != std::string::npos;) {
    at = all.find(part, at);
  }
  return at != std::string::npos;
}

class FrontEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream("fw.bin") << "image";
    mkfifo("fifo", 0600);  // no image, and opening it would block
  }
  void TearDown() override {
    UninstallFakeLibrary();
    std::remove("fw.bin");
    std::remove("fifo");
  }
};
