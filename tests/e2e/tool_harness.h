// Runs the real bridgefw executable against the simulated bridge.
//
// Configured by the test run's environment:
//   BRIDGEFW_E2E_TOOL     the executable under test (bridgefw or bridgefw.exe)
//   BRIDGEFW_E2E_RUNNER   optional command that runs it: wine64 for the .exe, or
//                         valgrind with its options (words split on blanks)
//   BRIDGEFW_E2E_BIN      folder of the native bridgesim and bridgesim-image
//   BRIDGEFW_E2E_LACKING  the simulated library built without QZ_DiskFormat
// Each test gets a fresh folder with its own state and trace files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ToolResult {
  std::string output;  // standard output (CRLF turned into LF for the .exe)
  std::string errors;  // standard error
  int status = -1;     // exit status
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs bridgefw with the arguments (element 1 onwards) and standard input.
  ToolResult Run(const std::vector<std::string>& args, const std::string& input = "");
  // Runs bridgefw from a copy placed in a folder of its own, beside the files
  // given (each copied there), with the same state.
  ToolResult RunCopied(const std::vector<std::string>& besideFiles,
                       const std::vector<std::string>& args);
  // Runs the native control command; fails the test on a nonzero status.
  std::string Sim(const std::vector<std::string>& args);
  // Runs the native image maker; fails the test on a nonzero status.
  void MakeImage(const std::vector<std::string>& args);
  // Lines of the call trace recorded since the last ClearTrace.
  std::vector<std::string> Trace();
  void ClearTrace();
  // Adds NAME rules to BRIDGESIM_FAULT for the next runs.
  void SetFault(const std::string& rules) { fault_ = rules; }
  // A reset device of the series ("other" or "t7"), the trace cleared.
  void Fresh(const std::string& series);
  // `bridgesim get [--device N] FIELD` without its line end.
  std::string SimGet(const std::string& field, int device = 0);
  // The trace without the device list and the SDK version queries.
  std::vector<std::string> DeviceCalls();
  // A file of tests/e2e/expected/.
  static std::string Expected(const std::string& name);

  // For tests that run several processes at once or stop one midway: the
  // command lines Run and Sim use, and a start that does not wait (standard
  // input empty, in the test's folder, with the same environment). The
  // caller reaps the process.
  std::vector<std::string> ToolCommand(const std::vector<std::string>& args) const;
  static std::vector<std::string> SimCommand(const std::vector<std::string>& args);
  pid_t Start(const std::vector<std::string>& argv, const std::string& outPath,
              const std::string& errPath);

  std::string Dir() const { return dir_; }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static bool UnderWine();
  static std::string LackingLibrary();

 private:
  ToolResult Spawn(const std::vector<std::string>& argv, const std::string& input,
                   const std::string& workDir, bool translateLineEnds);
  pid_t StartIn(const std::vector<std::string>& argv, const std::string& inPath,
                const std::string& outPath, const std::string& errPath, const std::string& workDir);
  std::string dir_;
  std::string fault_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
