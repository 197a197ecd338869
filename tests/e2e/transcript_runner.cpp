// Runs the transcripts of tests/e2e/cases against the built executable and
// the simulated bridge, each in a fresh folder with its own state and trace.
//
// Environment: BRIDGEFW_E2E_TOOL (the executable), BRIDGEFW_E2E_RUNNER (a
// command prefix such as wine64, qemu-i386 or valgrind and its options; may be
// empty), BRIDGEFW_E2E_BIN (folder of bridgesim and bridgesim-image),
// BRIDGEFW_E2E_LACKING (the simulated library lacking one entry point).
//
// A transcript, one directive a line:
//   $ bridgesim ARGS   run a command of BRIDGEFW_E2E_BIN (status 0 required)
//   > WORDS            run the tool with these elements ('' is an empty one)
//   >alone WORDS       run a copy of the tool from a folder of its own
//   >lacking WORDS     the same, beside the library lacking one entry point
//   < TEXT             a line typed on the standard input of the run above
//   | TEXT             a line the run above prints (all of them, in order)
//   + FILE             the lines of tests/e2e/expected/FILE, likewise
//   @ CALL             a line of its call trace, device list and SDK version
//                      queries left out (all of them; "@" alone: no call)
//   ! RULES            BRIDGESIM_FAULT for the later tool runs ("!": none)
//   # TEXT             a comment
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : value;
}

std::string Read(const std::string& path) {
  std::stringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

void Copy(const std::string& from, const std::string& folder) {
  const std::string to = folder + from.substr(from.find_last_of('/'));
  std::ofstream(to, std::ios::binary) << Read(from);
  chmod(to.c_str(), 0755);
}

Strings Words(const std::string& text) {
  Strings words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word == "''" ? "" : word);
  return words;
}

struct Block {
  std::string kind, words, input, output, fault;
  Strings calls;
  bool checkOutput = false, checkCalls = false;
};

class Transcript : public ::testing::TestWithParam<std::string> {
 protected:
  std::string dir_;

  // Runs argv in the case folder; returns its standard output.
  std::string Spawn(const Strings& argv, const Block& block, bool isTool) {
    std::ofstream(dir_ + "/.in") << block.input;
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(126);
      dup2(open(".in", O_RDONLY), 0);
      dup2(open(".out", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open(".err", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      unsetenv("LD_LIBRARY_PATH");
      setenv("BRIDGESIM_STATE", "state.json", 1);
      setenv("BRIDGESIM_TRACE", "trace.txt", 1);
      setenv("WINEDEBUG", "-all", 1);
      if (isTool && !block.fault.empty()) setenv("BRIDGESIM_FAULT", block.fault.c_str(), 1);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      _exit(127);
    }
    int status = -1;
    waitpid(pid, &status, 0);
    // The tool exits 0 whatever happened and prints nothing on standard error
    // (wine may add its own notes there); under valgrind either is an error.
    EXPECT_EQ(status, 0) << argv[0] << ": " << Read(dir_ + "/.err");
    if (isTool && Env("BRIDGEFW_E2E_RUNNER").find("wine") == std::string::npos) {
      EXPECT_EQ(Read(dir_ + "/.err"), "");
    }
    std::string out = Read(dir_ + "/.out");
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    return out;
  }

  void Finish(const Block& block, int line) {
    if (block.kind.empty()) return;
    SCOPED_TRACE(GetParam() + ":" + std::to_string(line) + ": " + block.kind + " " + block.words);
    Strings argv = Words(block.words);
    std::string output;
    if (block.kind == "$") {
      argv[0] = Env("BRIDGEFW_E2E_BIN") + "/" + argv[0];
      output = Spawn(argv, block, false);
    } else {
      std::string tool = Env("BRIDGEFW_E2E_TOOL");
      if (block.kind != ">") {
        const std::string folder = dir_ + "/" + block.kind.substr(1);
        mkdir(folder.c_str(), 0755);
        Copy(tool, folder);
        if (block.kind == ">lacking") Copy(Env("BRIDGEFW_E2E_LACKING"), folder);
        tool = folder + tool.substr(tool.find_last_of('/'));
      }
      argv.insert(argv.begin(), tool);
      const Strings runner = Words(Env("BRIDGEFW_E2E_RUNNER"));
      argv.insert(argv.begin(), runner.begin(), runner.end());
      unlink((dir_ + "/trace.txt").c_str());
      output = Spawn(argv, block, true);
    }
    if (block.checkOutput || block.kind != "$") {
      EXPECT_EQ(output, block.output);
    }
    if (!block.checkCalls) return;
    Strings calls;
    std::istringstream trace(Read(dir_ + "/trace.txt"));
    for (std::string call; std::getline(trace, call);) {
      if (call.rfind("QZ_GetDeviceList(", 0) != 0 && call.rfind("QZ_GetSDKVersion(", 0) != 0) {
        calls.push_back(call);
      }
    }
    EXPECT_EQ(calls, block.calls);
  }
};

TEST_P(Transcript, Matches) {
  ASSERT_FALSE(Env("BRIDGEFW_E2E_TOOL").empty()) << "BRIDGEFW_E2E_TOOL is not set";
  char pattern[] = "/tmp/bridgefw-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
  std::ifstream in(std::string(BRIDGEFW_E2E_CASES) + "/" + GetParam());
  Block block;
  std::string fault;
  int number = 0, blockLine = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string key = line.substr(0, line.find(' '));
    const std::string rest = line.size() > key.size() ? line.substr(key.size() + 1) : "";
    if (key == "$" || key[0] == '>' || key == "!") {
      Finish(block, blockLine);
      block = Block();
      block.kind = key == "!" ? "" : key;
      block.words = rest;
      block.fault = fault;
      blockLine = number;
      if (key == "!") fault = rest;
    } else if (key == "<") {
      block.input += rest + "\n";
    } else if (key == "|" || key == "+") {
      block.output +=
          key == "|" ? rest + "\n" : Read(std::string(BRIDGEFW_E2E_EXPECTED) + "/" + rest);
      block.checkOutput = true;
    } else if (key == "@") {
      if (!rest.empty()) block.calls.push_back(rest);
      block.checkCalls = true;
    } else {
      ASSERT_TRUE(key.empty() || key[0] == '#') << GetParam() << ":" << number << ": " << line;
    }
  }
  Finish(block, blockLine);
  if (!HasFailure()) {
    EXPECT_EQ(std::system(("rm -rf " + dir_).c_str()), 0);
  }
}

Strings CaseFiles() {
  Strings files;
  if (DIR* dir = opendir(BRIDGEFW_E2E_CASES)) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 2 && name.substr(name.size() - 2) == ".t") files.push_back(name);
    }
    closedir(dir);
  }
  std::sort(files.begin(), files.end());
  return files;
}

INSTANTIATE_TEST_SUITE_P(Cases, Transcript, ::testing::ValuesIn(CaseFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(0, info.param.size() - 2);
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
