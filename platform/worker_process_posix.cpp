#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/worker_process.h"

extern char** environ;

namespace platform {

struct WorkerProcess::Handle {
  pid_t pid = -1;
  int output = -1;  // the pipe's read end, not blocking
  bool exited = false;
};

bool OwnExecutablePath(std::string* path, std::string* why) {
  char buffer[PATH_MAX] = {};
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) {
    *why = std::string("cannot find the program's own path: ") + std::strerror(errno);
    return false;
  }
  *path = std::string(buffer, static_cast<size_t>(length));
  return true;
}

namespace {

// The worker's output to the pipe, its input and error output to the null
// device; its own process group; the signals the station watches back to
// their defaults and unblocked.
bool SpawnWith(const std::string& program, char* const* argv, int pipeWrite, pid_t* pid) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&actions, pipeWrite, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  const int failed = ::posix_spawn(pid, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  errno = failed;
  return failed == 0;
}

}  // namespace

std::unique_ptr<WorkerProcess> WorkerProcess::Start(const std::string& program,
                                                    const std::vector<std::string>& arguments,
                                                    std::string* why) {
  int ends[2] = {-1, -1};
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    *why = std::string("cannot make a pipe: ") + std::strerror(errno);
    return nullptr;
  }
  std::vector<std::string> words = arguments;
  words.insert(words.begin(), program);
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  pid_t pid = -1;
  const bool started = SpawnWith(program, argv.data(), ends[1], &pid);
  if (!started) *why = "cannot start " + program + ": " + std::strerror(errno);
  ::close(ends[1]);
  if (!started) {
    ::close(ends[0]);
    return nullptr;
  }
  ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
  std::unique_ptr<WorkerProcess> worker(new WorkerProcess());
  worker->handle_ = std::make_unique<Handle>();
  worker->handle_->pid = pid;
  worker->handle_->output = ends[0];
  return worker;
}

WorkerProcess::~WorkerProcess() {
  if (handle_->output >= 0) ::close(handle_->output);
  // A worker that ended is reaped; one still running is left to finish.
  if (!handle_->exited) ::waitpid(handle_->pid, nullptr, WNOHANG);
}

void WorkerProcess::ReadAvailable(std::string* text) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(handle_->output, buffer, sizeof buffer);
    if (n > 0) {
      text->append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return;
  }
}

bool WorkerProcess::Ended() {
  if (!handle_->exited) {
    int status = 0;
    handle_->exited = ::waitpid(handle_->pid, &status, WNOHANG) == handle_->pid;
  }
  return handle_->exited;
}

void WorkerProcess::Kill() { ::kill(handle_->pid, SIGKILL); }

bool OutputIsTerminal() { return ::isatty(STDOUT_FILENO) != 0; }

bool EnableTerminalSequences() { return true; }

}  // namespace platform
