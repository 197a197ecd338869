#include "tests/e2e/tool_harness.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CopyFile(const std::string& from, const std::string& to) {
  WriteFile(to, ReadFile(from));
  chmod(to.c_str(), 0755);
}

std::string LfOnly(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

namespace {

// The runner's words: "/usr/lib/wine/wine64", or "valgrind --error-exitcode=97 ...".
std::vector<std::string> RunnerWords() {
  std::vector<std::string> words;
  std::istringstream in(Env("BRIDGEFW_E2E_RUNNER"));
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

bool ToolTest::UnderWine() { return Env("BRIDGEFW_E2E_RUNNER").find("wine") != std::string::npos; }
std::string ToolTest::LackingLibrary() { return Env("BRIDGEFW_E2E_LACKING"); }

void ToolTest::SetUp() {
  ASSERT_FALSE(Env("BRIDGEFW_E2E_TOOL").empty()) << "BRIDGEFW_E2E_TOOL is not set";
  char pattern[] = "/tmp/bridgefw-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
  Sim({"reset"});
}

void ToolTest::TearDown() {
  if (!dir_.empty() && !HasFailure()) {
    const std::string command = "rm -rf '" + dir_ + "'";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << dir_;
  }
}

pid_t ToolTest::StartIn(const std::vector<std::string>& argv, const std::string& inPath,
                        const std::string& outPath, const std::string& errPath,
                        const std::string& workDir) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("BRIDGESIM_", 0) == 0 || entry.rfind("LD_LIBRARY_PATH=", 0) == 0) continue;
    environment.push_back(entry);
  }
  environment.push_back("BRIDGESIM_STATE=" + Path("state.json"));
  environment.push_back("BRIDGESIM_TRACE=" + Path("trace.txt"));
  if (!fault_.empty()) environment.push_back("BRIDGESIM_FAULT=" + fault_);
  environment.push_back("WINEDEBUG=-all");

  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(&entry[0]);
  envp.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> argp;
  for (std::string& arg : args) argp.push_back(&arg[0]);
  argp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  // The run's working folder is the test's own, never the build tree.
  const std::string chdirTo = workDir.empty() ? dir_ : workDir;
  std::string shell = "cd '" + chdirTo + "' && exec \"$0\" \"$@\"";
  std::vector<char*> shellArgs = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), &shell[0]};
  for (char* arg : argp) shellArgs.push_back(arg);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, "/bin/sh", &actions, nullptr, shellArgs.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(spawned);
    return -1;
  }
  return pid;
}

pid_t ToolTest::Start(const std::vector<std::string>& argv, const std::string& outPath,
                      const std::string& errPath) {
  return StartIn(argv, "/dev/null", outPath, errPath, "");
}

ToolResult ToolTest::Spawn(const std::vector<std::string>& argv, const std::string& input,
                           const std::string& workDir, bool translateLineEnds) {
  const std::string inPath = Path(".stdin");
  const std::string outPath = Path(".stdout");
  const std::string errPath = Path(".stderr");
  WriteFile(inPath, input);
  ToolResult result;
  const pid_t pid = StartIn(argv, inPath, outPath, errPath, workDir);
  if (pid < 0) return result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.output = ReadFile(outPath);
  result.errors = ReadFile(errPath);
  if (translateLineEnds) result.output = LfOnly(result.output);
  return result;
}

std::vector<std::string> ToolTest::ToolCommand(const std::vector<std::string>& args) const {
  std::vector<std::string> argv = RunnerWords();
  argv.push_back(Env("BRIDGEFW_E2E_TOOL"));
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

std::vector<std::string> ToolTest::SimCommand(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {Env("BRIDGEFW_E2E_BIN") + "/bridgesim"};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

ToolResult ToolTest::Run(const std::vector<std::string>& args, const std::string& input) {
  ToolResult result = Spawn(ToolCommand(args), input, "", UnderWine());
  // The exit status is 0 whatever happened, and nothing goes to standard
  // error (wine may add its own notes there). Under valgrind a nonzero status
  // or any text on standard error is a memory error or leak.
  EXPECT_EQ(result.status, 0) << result.errors;
  if (!UnderWine()) {
    EXPECT_EQ(result.errors, "");
  }
  return result;
}

ToolResult ToolTest::RunCopied(const std::vector<std::string>& besideFiles,
                               const std::vector<std::string>& args) {
  const std::string folder = Path("copied");
  mkdir(folder.c_str(), 0755);
  const std::string tool = Env("BRIDGEFW_E2E_TOOL");
  const std::string copy = folder + "/" + BaseName(tool);
  CopyFile(tool, copy);
  for (const std::string& file : besideFiles) CopyFile(file, folder + "/" + BaseName(file));
  std::vector<std::string> argv = RunnerWords();
  argv.push_back(copy);
  argv.insert(argv.end(), args.begin(), args.end());
  ToolResult result = Spawn(argv, "", "", UnderWine());
  EXPECT_EQ(result.status, 0) << result.errors;
  return result;
}

std::string ToolTest::Sim(const std::vector<std::string>& args) {
  const std::string savedFault = fault_;
  fault_.clear();
  const ToolResult result = Spawn(SimCommand(args), "", "", false);
  fault_ = savedFault;
  EXPECT_EQ(result.status, 0) << "bridgesim failed: " << result.errors;
  return result.output;
}

void ToolTest::MakeImage(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {Env("BRIDGEFW_E2E_BIN") + "/bridgesim-image"};
  argv.insert(argv.end(), args.begin(), args.end());
  const ToolResult result = Spawn(argv, "", "", false);
  EXPECT_EQ(result.status, 0) << "bridgesim-image failed: " << result.errors;
}

std::vector<std::string> ToolTest::Trace() {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(Path("trace.txt")));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // The call without its time, process id and reason.
    const std::size_t call = line.find(' ', line.find(' ') + 1);
    if (call != std::string::npos) line.erase(0, call + 1);
    const std::size_t why = line.find(" # ");
    if (why != std::string::npos) line.erase(why);
    lines.push_back(line);
  }
  return lines;
}

void ToolTest::ClearTrace() { WriteFile(Path("trace.txt"), ""); }

void ToolTest::Fresh(const std::string& series) {
  Sim({"reset"});
  if (series != "other") Sim({"set", "series", series});
  ClearTrace();
}

std::string ToolTest::SimGet(const std::string& field, int device) {
  std::string value = Sim({"get", "--device", std::to_string(device), field});
  while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
  return value;
}

std::vector<std::string> ToolTest::DeviceCalls() {
  std::vector<std::string> calls;
  for (const std::string& line : Trace()) {
    if (line.rfind("QZ_GetDeviceList(", 0) != 0 && line.rfind("QZ_GetSDKVersion(", 0) != 0) {
      calls.push_back(line);
    }
  }
  return calls;
}

std::string ToolTest::Expected(const std::string& name) {
  const std::string here = __FILE__;
  return ReadFile(here.substr(0, here.find_last_of('/')) + "/expected/" + name);
}
