// Firmware images: every image its own payload, and what --check and the
// bridge say about a spoilt one.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "sim/bridge/crc32.h"
#include "sim/bridge/image_format.h"
#include "sim/commands/image_command.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

std::string CheckImage(const std::string& path, int status) {
  std::ostringstream out, err;
  EXPECT_EQ(RunImageCommand({"--check", path}, out, err), status) << out.str() << err.str();
  return out.str();
}

TEST_F(SimTest, EverySeriesAndVersionGivesItsOwnPayload) {
  std::set<uint32_t> digests;
  ImageInfo info;
  for (const char* series : {"t7", "other"}) {
    for (const char* version : {"1.0", "1.1", "2.0"}) {
      std::ostringstream out, err;
      ASSERT_EQ(RunImageCommand({"--out", File("fw"), "--series", series, "--version", version,
                                 "--payload-size", "4096", "--vid", "1"},
                                out, err),
                0);
      std::string error;
      ASSERT_TRUE(ReadImage(File("fw"), &info, &error)) << error;
      digests.insert(info.payloadCrc);
    }
  }
  EXPECT_EQ(digests.size(), 6u);
  EXPECT_EQ(CheckImage(File("fw"), 0), File("fw") +
                                           ": good: series other, version 2.0, payload 4096 "
                                           "bytes, crc32 " +
                                           Crc32Text(info.payloadCrc) + ", settings block\n");
}

// What is no regular file is refused at once, and every value the device
// cannot hold is misuse.
TEST_F(SimTest, ImageCommandRefusesAFifoAtOnceAndBadValuesAsMisuse) {
  ::mkfifo(File("fifo").c_str(), 0600);
  const std::string version16(16, '1');
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"--out", File("fifo"), "--series", "t7", "--version", "1"}, 1, "is not a regular file"},
      {{"--corrupt", File("fifo")}, 1, "is not a regular file"},
      {{"--out", File("fw"), "--series", "t7", "--version", version16}, 2, "cannot hold --version"},
  };
  for (const auto& c : cases) {
    // First in a child, which an alarm ends should it block.
    const pid_t child = ::fork();
    if (child == 0) {
      ::alarm(5);
      std::ostringstream out, err;
      ::_exit(RunImageCommand(c.args, out, err));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << c.message;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.message;
    std::ostringstream out, err;
    EXPECT_EQ(RunImageCommand(c.args, out, err), c.status);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
  }
}

struct SpoilCase {
  const char* label;
  long at;  // byte to change, or -1
  char value;
  long size;  // resize to this, or -1
  const char* why;
};

// A 100-byte payload after a 36-byte header: the CRC lies at 136.
const SpoilCase kSpoilCases[] = {
    {"Magic", 0, 'X', -1, "not a firmware image (bad magic)"},
    {"FormatVersion", 8, 2, -1, "unsupported image format version 2"},
    {"Series", 10, 3, -1, "unknown target series 3"},
    {"Flags", 11, 4, -1, "unknown image flags"},
    {"PayloadByte", 90, 0, -1, "CRC mismatch: stored "},
    {"TruncatedHeader", -1, 0, 20, "truncated image header"},
    {"TruncatedPayload", -1, 0, 100, "truncated payload: the header announces 100 bytes"},
    {"TrailingByte", -1, 0, 141, "data after the image's CRC"},
    {"Fifo", -2, 0, -1, "is not a regular file"},
};

using SpoilTest = SimParamTest<SpoilCase>;

TEST_P(SpoilTest, CheckSaysWhyAndTheBridgeRefuses) {
  const SpoilCase& c = GetParam();
  const std::string path = File("fw.bin");
  ImageInfo info;
  info.version = "1.0";
  info.payloadSize = 100;
  std::string error;
  ASSERT_TRUE(WriteImage(path, info, PatternPayload(3), &error)) << error;
  if (c.at >= 0) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(c.at);
    f.put(c.value);
  }
  if (c.size >= 0) std::filesystem::resize_file(path, static_cast<uintmax_t>(c.size));
  if (c.at == -2) {
    std::filesystem::remove(path);
    ::mkfifo(path.c_str(), 0600);
  }
  const std::string said = CheckImage(path, 1);
  EXPECT_EQ(said.rfind(path + ": bad: ", 0), 0u);
  EXPECT_NE(said.find(c.why), std::string::npos) << said;
  RunScript("GetDeviceList; CheckLoadBinFileMatch:" + path + "=0; SetFWBinFilePath:" + path +
            (c.at == -2 ? "=0" : "=1"));
}

INSTANTIATE_TEST_SUITE_P(Images, SpoilTest, ::testing::ValuesIn(kSpoilCases), LabelName());

}  // namespace
}  // namespace sim
