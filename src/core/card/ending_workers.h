// Worker threads past their last use of a window, each only finishing a
// last pause. The user-interface thread does not wait for them; they are
// joined when the plug-in goes (CCardApp's end, at the library's unload or
// the process's exit), so that none outlives the library, and by tests
// before a pause of their own goes.
#ifndef T740_CORE_CARD_ENDING_WORKERS_H
#define T740_CORE_CARD_ENDING_WORKERS_H

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace t740 {

class EndingWorkers {
 public:
  EndingWorkers() = default;
  ~EndingWorkers();
  EndingWorkers(const EndingWorkers&) = delete;
  EndingWorkers& operator=(const EndingWorkers&) = delete;

  // `done` turns true as the worker's last act; workers already done are
  // joined on the way, so the list stays short.
  void Adopt(std::thread worker, std::shared_ptr<const std::atomic<bool>> done);
  // Waits for every adopted worker.
  void JoinAll();

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<const std::atomic<bool>> done;
  };

  std::mutex mutex_;
  std::vector<Worker> workers_;
};

}  // namespace t740

#endif
