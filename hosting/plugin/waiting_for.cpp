#include "hosting/plugin/waiting_for.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace t740::host {
namespace {

struct Waits {
  std::mutex mutex;
  size_t next = 0;
  std::vector<std::pair<size_t, std::string>> open;
};

// The time limit's watchdog reads it while the plug-in's threads wait.
Waits& AllWaits() {
  static Waits waits;
  return waits;
}

}  // namespace

Waiting::Waiting(std::string what) {
  Waits& waits = AllWaits();
  std::lock_guard<std::mutex> lock(waits.mutex);
  id_ = waits.next++;
  waits.open.emplace_back(id_, std::move(what));
}

Waiting::~Waiting() {
  Waits& waits = AllWaits();
  std::lock_guard<std::mutex> lock(waits.mutex);
  waits.open.erase(std::remove_if(waits.open.begin(), waits.open.end(),
                                  [this](const auto& wait) { return wait.first == id_; }),
                   waits.open.end());
}

std::string WaitingForNow() {
  Waits& waits = AllWaits();
  std::lock_guard<std::mutex> lock(waits.mutex);
  return waits.open.empty() ? std::string() : waits.open.back().second;
}

}  // namespace t740::host
