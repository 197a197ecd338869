// Requests to stop (Ctrl-C, SIGTERM, SIGHUP, a closed console window) are
// counted rather than fatal, so that a run decides what each one means:
// finish what it started, or abandon it.
#pragma once

namespace platform {

// Called with the number of requests so far, on a thread of its own (never
// inside a signal handler): it may take locks, write files and end the
// process.
using StopHandler = void (*)(int requests);

// From now on every request goes to `onRequest`; false when the system
// refused (requests then end the process as before). Call it before any
// other thread starts, once.
bool WatchStopRequests(StopHandler onRequest);

}  // namespace platform
