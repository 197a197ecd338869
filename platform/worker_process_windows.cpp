#include <windows.h>

#include "platform/windows_path.h"
#include "platform/worker_process.h"

// Older headers lack the console's virtual-terminal flag (Windows 10 and later).
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace platform {

struct WorkerProcess::Handle {
  HANDLE process = nullptr;
  HANDLE output = nullptr;  // the pipe's read end
};

bool OwnExecutablePath(std::string* path, std::string* why) {
  std::wstring buffer(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) {
    *why = "cannot find the program's own path (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  buffer.resize(length);
  *path = Utf8Text(buffer);
  return true;
}

namespace {

// One argument as CommandLineToArgvW reads it back: quoted, its quotes and
// the backslashes before them escaped.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE NullDevice(DWORD access) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                     nullptr);
}

}  // namespace

std::unique_ptr<WorkerProcess> WorkerProcess::Start(const std::string& program,
                                                    const std::vector<std::string>& arguments,
                                                    std::string* why) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    *why = "cannot make a pipe (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  const std::wstring wideProgram = WindowsPath(program);
  std::wstring line = Quoted(wideProgram);
  for (const std::string& argument : arguments) line += L" " + Quoted(WindowsPath(argument));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = NullDevice(GENERIC_READ);
  startup.hStdOutput = writeEnd;
  startup.hStdError = NullDevice(GENERIC_WRITE);
  PROCESS_INFORMATION started = {};
  // No console of its own and none shared: a Ctrl-C or a closed window
  // reaches the station alone.
  const BOOL ok = CreateProcessW(wideProgram.c_str(), &line[0], nullptr, nullptr, TRUE,
                                 CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &started);
  if (!ok) *why = "cannot start " + program + " (error " + std::to_string(GetLastError()) + ")";
  CloseHandle(writeEnd);
  CloseHandle(startup.hStdInput);
  CloseHandle(startup.hStdError);
  if (!ok) {
    CloseHandle(readEnd);
    return nullptr;
  }
  CloseHandle(started.hThread);
  std::unique_ptr<WorkerProcess> worker(new WorkerProcess());
  worker->handle_ = std::make_unique<Handle>();
  worker->handle_->process = started.hProcess;
  worker->handle_->output = readEnd;
  return worker;
}

WorkerProcess::~WorkerProcess() {
  CloseHandle(handle_->output);
  CloseHandle(handle_->process);
}

void WorkerProcess::ReadAvailable(std::string* text) {
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(handle_->output, nullptr, 0, nullptr, &available, nullptr) ||
        available == 0) {
      return;
    }
    std::string chunk(available, '\0');
    DWORD read = 0;
    if (!ReadFile(handle_->output, &chunk[0], available, &read, nullptr) || read == 0) return;
    text->append(chunk, 0, read);
  }
}

bool WorkerProcess::Ended() { return WaitForSingleObject(handle_->process, 0) == WAIT_OBJECT_0; }

void WorkerProcess::Kill() { TerminateProcess(handle_->process, 1); }

bool OutputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

bool EnableTerminalSequences() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(output, &mode)) return false;
  return SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace platform
