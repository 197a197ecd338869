// Child processes that report on a pipe: a station's workers, one per unit.
// A worker runs outside the station's terminal process group (POSIX) and
// without its console (Windows), so a Ctrl-C or a closed window reaches only
// the station, which decides what it means for the units in progress.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

// The running program's own full path, as the system knows it (never found
// by a search: an elevated station must not start what a folder on PATH holds).
bool OwnExecutablePath(std::string* path, std::string* why);

class WorkerProcess {
 public:
  // Starts `program` with `arguments` (UTF-8, without the program's name):
  // its standard output a pipe to this process, its input and error output
  // the null device.
  static std::unique_ptr<WorkerProcess> Start(const std::string& program,
                                              const std::vector<std::string>& arguments,
                                              std::string* why);
  // Closes the pipe; a worker still running goes on alone.
  ~WorkerProcess();
  // Appends what the worker printed since the last call, without waiting.
  void ReadAvailable(std::string* text);
  // Whether it has ended (its output read to the end first).
  bool Ended();
  // Ends it at once.
  void Kill();
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

 private:
  WorkerProcess() = default;
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// Whether standard output is a terminal (the station then redraws a board).
bool OutputIsTerminal();

// Lets the terminal take colours and cursor moves (the Windows console's
// virtual-terminal mode); false where it cannot.
bool EnableTerminalSequences();

}  // namespace platform
