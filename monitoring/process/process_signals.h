// SIGHUP reloads the configuration, SIGTERM and SIGINT stop the exporter.
// The signals are blocked in every thread (ProcessSignals, before any
// thread starts) and taken by one thread of their own with sigwait
// (SignalWatch), so that their work runs as ordinary code; a signal that
// comes before the watch starts waits for it. SIGPIPE is ignored: OpenSSL
// writes a TLS connection's records with write(), which cannot be asked not
// to raise it, and a client gone mid-answer must end only its own
// connection.
#ifndef T740_MONITORING_PROCESS_PROCESS_SIGNALS_H
#define T740_MONITORING_PROCESS_PROCESS_SIGNALS_H

#include <atomic>
#include <functional>
#include <thread>

namespace t740::monitoring {

class ProcessSignals {
 public:
  // Blocks the signals and ignores SIGPIPE: construct it before any other
  // thread starts.
  ProcessSignals();
  ProcessSignals(const ProcessSignals&) = delete;
  ProcessSignals& operator=(const ProcessSignals&) = delete;
};

// Declare it after what its work touches: it ends (its stop not called
// then) and joins its thread before those go, so that no signal reaches
// them while they are destroyed.
class SignalWatch {
 public:
  // `reload` runs for each SIGHUP, `stop` once, for the first SIGTERM or
  // SIGINT, after which the watch ends.
  SignalWatch(const ProcessSignals& blocked, std::function<void()> reload,
              std::function<void()> stop);
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

 private:
  std::atomic<bool> ending_{false};
  std::thread watcher_;
};

}  // namespace t740::monitoring

#endif
