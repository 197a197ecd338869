#include <pthread.h>
#include <signal.h>

#include <initializer_list>

#include "platform/stop_request.h"

namespace platform {
namespace {

StopHandler Handler = nullptr;
sigset_t Watched;

// The signals stay blocked in every thread and are taken here one by one,
// so the handler runs as ordinary code.
void* WatchSignals(void*) {
  for (int requests = 1;; ++requests) {
    int signal = 0;
    while (sigwait(&Watched, &signal) != 0) {
    }
    Handler(requests);
  }
  return nullptr;
}

}  // namespace

bool WatchStopRequests(StopHandler onRequest) {
  Handler = onRequest;
  sigemptyset(&Watched);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&Watched, signal);
  if (pthread_sigmask(SIG_BLOCK, &Watched, nullptr) != 0) return false;
  pthread_t watcher;
  if (pthread_create(&watcher, nullptr, WatchSignals, nullptr) != 0) {
    pthread_sigmask(SIG_UNBLOCK, &Watched, nullptr);
    return false;
  }
  pthread_detach(watcher);
  return true;
}

}  // namespace platform
