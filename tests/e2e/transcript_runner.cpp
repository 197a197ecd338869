// Runs each transcript of tests/e2e/cases (or of the folder BRIDGEFW_E2E_CASE_DIR
// names: the documents' examples) against the built executable and the
// simulated bridge, in a fresh folder with its own state and trace. The format
// and the BRIDGEFW_E2E_* environment are described in docs/testing.md.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using Strings = std::vector<std::string>;

std::string Env(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }

std::string Read(const std::string& path) {
  std::stringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What a Windows console program printed, its CRLF line ends as LF. Any other
// CR, and an LF without its CR, stay visible and fail the comparison.
std::string ConsoleLines(const std::string& printed) {
  std::string lines;
  for (std::size_t i = 0; i < printed.size(); ++i) {
    if (printed.compare(i, 2, "\r\n") == 0) {
      lines += '\n';
      ++i;
    } else {
      lines += printed[i] == '\n' ? std::string("<LF without CR>\n") : std::string(1, printed[i]);
    }
  }
  return lines;
}

// Items separated by the separator ('' stands for an empty one).
Strings Split(const std::string& text, char separator) {
  Strings items;
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, separator);)
    items.push_back(item == "''" ? "" : item);
  return items;
}

// The transcripts: those of tests/e2e/cases, or every one in BRIDGEFW_E2E_CASE_DIR.
std::string CaseDir() {
  return Env("BRIDGEFW_E2E_CASE_DIR").empty() ? BRIDGEFW_E2E_CASES : Env("BRIDGEFW_E2E_CASE_DIR");
}

Strings CaseFiles() {
  if (Env("BRIDGEFW_E2E_CASE_DIR").empty()) return Split(BRIDGEFW_E2E_CASE_FILES, ',');
  Strings files;
  for (const auto& entry : std::filesystem::directory_iterator(CaseDir())) {
    if (entry.path().extension() == ".t") files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// One run: "$" (a simulator command), ">" (the tool) or "%" (a shell command
// line), with what it is given and what it must print and call.
struct Invocation {
  std::string kind, words, input, output, fault;
  Strings calls;
  bool checkOutput = false, checkCalls = false;
  int status = 0;
  std::vector<std::pair<std::string, std::string>> files;  // written before the run
  std::string checkedFile;                                 // and its lines after it
  Strings fileLines;
  bool patterns = false;  // some output line is a pattern: compared line by line
  std::vector<bool> patternLine;
};

// '*' in a pattern stands for any text, every other character for itself.
bool Matches(const char* pattern, const char* text) {
  if (*pattern == '*') return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
  return *pattern == *text && (*pattern == '\0' || Matches(pattern + 1, text + 1));
}

void ExpectLines(const std::string& text, const Strings& expected,
                 const std::vector<bool>& pattern) {
  const Strings lines = Split(text, '\n');
  ASSERT_EQ(lines.size(), expected.size()) << text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (pattern[i]) {
      EXPECT_TRUE(Matches(expected[i].c_str(), lines[i].c_str())) << lines[i];
    } else {
      EXPECT_EQ(lines[i], expected[i]);
    }
  }
}

class Transcript : public ::testing::TestWithParam<std::string> {
 protected:
  std::string dir_;

  std::string Spawn(const Strings& argv, const Invocation& run) {
    const bool tool = run.kind[0] == '>';
    std::ofstream(dir_ + "/.in") << run.input;
    for (const auto& file : run.files) std::ofstream(dir_ + "/" + file.first) << file.second;
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(126);
      dup2(open(".in", O_RDONLY), 0);
      dup2(open(".out", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      // A shell command line shows both streams, as a terminal does.
      dup2(run.kind == "%" ? 1 : open(".err", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      unsetenv("LD_LIBRARY_PATH");
      setenv("BRIDGESIM_STATE", "state.json", 1);
      if (run.kind == "%") {
        setenv("PATH", (dir_ + "/build/bin:" + Env("PATH")).c_str(), 1);
      } else {
        setenv("BRIDGESIM_TRACE", "trace.txt", 1);
      }
      setenv("WINEDEBUG", "-all", 1);
      // Wine reads arguments and file names in the locale's character set;
      // the cases are written in UTF-8.
      setenv("LC_ALL", "C.UTF-8", 1);
      if (tool && !run.fault.empty()) setenv("BRIDGESIM_FAULT", run.fault.c_str(), 1);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      _exit(127);
    }
    int status = -1;
    waitpid(pid, &status, 0);
    // The exit status asked for (0 unless "?" says otherwise) and nothing on
    // standard error (wine adds notes of its own there); under valgrind
    // either means an error.
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == run.status)
        << argv[0] << ": status " << status << " " << Read(dir_ + "/.err");
    if (tool && Env("BRIDGEFW_E2E_RUNNER").find("wine") == std::string::npos) {
      EXPECT_EQ(Read(dir_ + "/.err"), "");
    }
    const std::string out = Read(dir_ + "/.out");
    return tool && EndsWith(Env("BRIDGEFW_E2E_TOOL"), ".exe") ? ConsoleLines(out) : out;
  }

  // build/bin/ in the folder, first on PATH: the tool (through the runner) and
  // the simulator's commands, as a shell in a build tree finds them. Run
  // natively from one build tree, it is that tree's bin/ itself, the recorder
  // and the library included, so that they can be copied as a person would.
  void MakeShellTools() {
    const std::string bin = dir_ + "/build/bin/";
    if (std::filesystem::exists(bin)) return;
    const std::filesystem::path built =
        std::filesystem::path(Env("BRIDGEFW_E2E_TOOL")).parent_path();
    std::error_code error;
    if (Env("BRIDGEFW_E2E_RUNNER").empty() &&
        std::filesystem::equivalent(built, Env("BRIDGEFW_E2E_BIN"), error)) {
      std::filesystem::create_directories(dir_ + "/build");
      std::filesystem::create_directory_symlink(built, dir_ + "/build/bin");
      return;
    }
    std::filesystem::create_directories(bin);
    const std::string tool = Env("BRIDGEFW_E2E_RUNNER") + " " + Env("BRIDGEFW_E2E_TOOL");
    for (const std::string name : {"bridgefw", "bridgesim", "bridgesim-image"}) {
      std::ofstream(bin + name) << "#!/bin/sh\nexec "
                                << (name == "bridgefw" ? tool
                                                       : Env("BRIDGEFW_E2E_BIN") + "/" + name)
                                << " \"$@\"\n";
      std::filesystem::permissions(bin + name, std::filesystem::perms::owner_all);
    }
  }

  void Check(const Invocation& run, int line) {
    if (run.kind.empty()) return;
    SCOPED_TRACE(GetParam() + ":" + std::to_string(line) + ": " + run.kind + " " + run.words);
    Strings argv = Split(run.words, ' ');
    if (run.kind == "%") {
      // The variables it exports are there for the next command line.
      MakeShellTools();
      argv = {"/bin/sh", "-c",
              "test ! -f .env || . ./.env\n" + run.words + "\nstatus=$?; export -p >\"" + dir_ +
                  "/.env\"; exit $status"};
    } else if (run.kind == "$") {
      argv[0] = Env("BRIDGEFW_E2E_BIN") + "/" + argv[0];
    } else {
      std::string tool = Env("BRIDGEFW_E2E_TOOL");
      if (run.kind != ">") {  // a copy in a folder of its own
        const std::string folder = dir_ + "/" + run.kind.substr(1);
        mkdir(folder.c_str(), 0755);
        const std::string lacking = run.kind == ">lacking" ? Env("BRIDGEFW_E2E_LACKING") : "";
        EXPECT_EQ(std::system(("cp " + tool + " " + lacking + " " + folder).c_str()), 0);
        tool = folder + tool.substr(tool.find_last_of('/'));
      }
      argv.insert(argv.begin(), tool);
      const Strings runner = Split(Env("BRIDGEFW_E2E_RUNNER"), ' ');
      argv.insert(argv.begin(), runner.begin(), runner.end());
      unlink((dir_ + "/trace.txt").c_str());
    }
    const std::string output = Spawn(argv, run);
    if (run.patterns) {
      ExpectLines(output, Split(run.output, '\n'), run.patternLine);
    } else if (run.checkOutput || run.kind != "$") {
      EXPECT_EQ(output, run.output);
    }
    if (!run.checkedFile.empty()) {
      ExpectLines(Read(dir_ + "/" + run.checkedFile), run.fileLines,
                  std::vector<bool>(run.fileLines.size(), true));
    }
    Strings calls;
    std::istringstream trace(Read(dir_ + "/trace.txt"));
    for (std::string call; std::getline(trace, call);) {
      // The call without the time and process id before it or a reason after it.
      call.erase(0, call.find(' ', call.find(' ') + 1) + 1);
      call.erase(std::min(call.find(" # "), call.size()));
      if (call.rfind("QZ_GetDeviceList(", 0) && call.rfind("QZ_GetSDKVersion(", 0)) {
        calls.push_back(call);
      }
    }
    if (run.checkCalls) {
      EXPECT_EQ(calls, run.calls);
    }
  }
};

TEST_P(Transcript, Matches) {
  ASSERT_FALSE(Env("BRIDGEFW_E2E_TOOL").empty()) << "BRIDGEFW_E2E_TOOL is not set";
  char pattern[] = "/tmp/bridgefw-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
  std::ifstream in(CaseDir() + "/" + GetParam());
  Invocation run;
  std::string fault;
  int number = 0, runLine = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string key = line.substr(0, line.find(' '));
    const std::string rest = line.size() > key.size() ? line.substr(key.size() + 1) : "";
    if (key == "$" || key == "%" || key[0] == '>' || key == "!") {
      Check(run, runLine);
      if (key == "!") fault = rest;
      run = Invocation();
      run.kind = key == "!" ? "" : key;
      run.words = rest;
      run.fault = fault;
      runLine = number;
    } else if (key == "<") {
      run.input += rest + "\n";
    } else if (key == "%>") {
      run.words += "\n" + rest;
    } else if (key == "|" || key == "+" || key == "~") {
      const std::string text =
          key == "+" ? Read(std::string(BRIDGEFW_E2E_EXPECTED) + "/" + rest) : rest + "\n";
      run.output += text;
      run.checkOutput = true;
      run.patterns = run.patterns || key == "~";
      const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
      run.patternLine.insert(run.patternLine.end(), lines, key == "~");
    } else if (key == "?") {
      run.status = std::stoi(rest);
    } else if (key == "=" || key == "&") {
      const std::string file = rest.substr(0, rest.find(' '));
      const std::string text = rest.size() > file.size() ? rest.substr(file.size() + 1) : "";
      if (key == "=") {
        if (run.files.empty() || run.files.back().first != file) run.files.push_back({file, ""});
        run.files.back().second += text + "\n";
      } else {
        run.checkedFile = file;
        run.fileLines.push_back(text);
      }
    } else if (key == "@") {
      if (!rest.empty()) run.calls.push_back(rest);
      run.checkCalls = true;
    } else {
      ASSERT_TRUE(key.empty() || key[0] == '#') << GetParam() << ":" << number << ": " << line;
    }
  }
  Check(run, runLine);
  if (!HasFailure()) {
    EXPECT_EQ(std::system(("rm -rf " + dir_).c_str()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Transcript, ::testing::ValuesIn(CaseFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.size() - 2);
                         });

}  // namespace
