#include "exporter/process/process_signals.h"

#include <pthread.h>
#include <signal.h>

namespace t740::exporter {
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

ProcessSignals::~ProcessSignals() {
  if (!watcher_.joinable()) return;
  ending_ = true;
  pthread_kill(watcher_.native_handle(), SIGTERM);
  watcher_.join();
}

void ProcessSignals::Watch(std::function<void()> reload, std::function<void()> stop) {
  watcher_ = std::thread([this, reload = std::move(reload), stop = std::move(stop)] {
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
  });
}

}  // namespace t740::exporter
