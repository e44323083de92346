#include "core/card/ending_workers.h"

#include <algorithm>

namespace t740 {

EndingWorkers::~EndingWorkers() {
  JoinAll();
}

void EndingWorkers::Adopt(std::thread worker, std::shared_ptr<const std::atomic<bool>> done) {
  std::vector<Worker> finished;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto running = std::partition(workers_.begin(), workers_.end(),
                                  [](const Worker& w) { return !w.done->load(); });
    std::move(running, workers_.end(), std::back_inserter(finished));
    workers_.erase(running, workers_.end());
    workers_.push_back({std::move(worker), std::move(done)});
  }
  for (Worker& w : finished) w.thread.join();
}

void EndingWorkers::JoinAll() {
  std::vector<Worker> all;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    all.swap(workers_);
  }
  for (Worker& w : all) w.thread.join();
}

}  // namespace t740
