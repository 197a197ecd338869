#include <windows.h>

#include "platform/stop_request.h"

namespace platform {
namespace {

StopHandler Handler = nullptr;
LONG Requests = 0;

// The system calls this on a thread of its own. A closed window, a log-off
// or a shutdown ends the process soon after it returns, whatever it says:
// such an event counts as the second request at once.
BOOL WINAPI OnControlEvent(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
    Handler(static_cast<int>(InterlockedIncrement(&Requests)));
    return TRUE;
  }
  InterlockedIncrement(&Requests);
  Handler(static_cast<int>(InterlockedIncrement(&Requests)));
  return TRUE;
}

}  // namespace

bool WatchStopRequests(StopHandler onRequest) {
  Handler = onRequest;
  return SetConsoleCtrlHandler(OnControlEvent, TRUE) != 0;
}

}  // namespace platform
