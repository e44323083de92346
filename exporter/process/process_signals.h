// SIGHUP reloads the configuration, SIGTERM and SIGINT stop the exporter.
// The signals are blocked in every thread and taken by one thread of their
// own with sigwait, so that their work runs as ordinary code. SIGPIPE is
// ignored: OpenSSL writes a TLS connection's records with write(), which
// cannot be asked not to raise it, and a client gone mid-answer must end
// only its own connection.
#ifndef T740_EXPORTER_PROCESS_PROCESS_SIGNALS_H
#define T740_EXPORTER_PROCESS_PROCESS_SIGNALS_H

#include <atomic>
#include <functional>
#include <thread>

namespace t740::exporter {

class ProcessSignals {
 public:
  // Blocks the signals and ignores SIGPIPE: construct it before any other
  // thread starts.
  ProcessSignals();
  // Ends the watch (Watch's stop is not called then) and joins it.
  ~ProcessSignals();
  ProcessSignals(const ProcessSignals&) = delete;
  ProcessSignals& operator=(const ProcessSignals&) = delete;

  // `reload` runs for each SIGHUP, `stop` once, for the first SIGTERM or
  // SIGINT, after which the watch ends.
  void Watch(std::function<void()> reload, std::function<void()> stop);

 private:
  std::thread watcher_;
  std::atomic<bool> ending_{false};
};

}  // namespace t740::exporter

#endif
