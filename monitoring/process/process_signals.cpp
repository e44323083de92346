#include "monitoring/process/process_signals.h"

#include <pthread.h>
#include <signal.h>

namespace t740::monitoring {
namespace {

sigset_t WatchedSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGHUP);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  return signals;
}

}  // namespace

ProcessSignals::ProcessSignals() {
  const sigset_t signals = WatchedSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

// `blocked` is asked for only to have the signals blocked first.
SignalWatch::SignalWatch(const ProcessSignals&, std::function<void()> reload,
                         std::function<void()> stop)
    : watcher_([this, reload = std::move(reload), stop = std::move(stop)] {
        const sigset_t signals = WatchedSignals();
        for (;;) {
          int signal = 0;
          if (sigwait(&signals, &signal) != 0) continue;
          if (signal == SIGHUP && !ending_) {
            reload();
            continue;
          }
          if (!ending_) stop();
          return;
        }
      }) {}

SignalWatch::~SignalWatch() {
  ending_ = true;
  // Wakes the watch if it still waits; once it has ended, the signal stays
  // pending on a thread that is gone.
  pthread_kill(watcher_.native_handle(), SIGTERM);
  watcher_.join();
}

}  // namespace t740::monitoring
