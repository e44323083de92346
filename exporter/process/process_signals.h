// SIGHUP reloads the configuration, SIGTERM and SIGINT stop the exporter.
// The signals are blocked in every thread and taken by one thread of their
// own with sigwait, so that their work runs as ordinary code.
#ifndef T740_EXPORTER_PROCESS_PROCESS_SIGNALS_H
#define T740_EXPORTER_PROCESS_PROCESS_SIGNALS_H

#include <atomic>
#include <functional>
#include <thread>

namespace t740::exporter {

class ProcessSignals {
 public:
  // Blocks the signals: construct it before any other thread starts.
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
