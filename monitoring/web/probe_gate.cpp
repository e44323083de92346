#include "monitoring/web/probe_gate.h"

#include <algorithm>

namespace t740::monitoring {
namespace {

// How often a waiting probe looks whether its client is still there.
constexpr auto kClientCheck = std::chrono::milliseconds(100);

}  // namespace

ProbeGate::Pass::Pass(ProbeGate& gate, Clock::time_point deadline,
                      const std::function<bool()>& gone)
    : gate_(gate) {
  std::unique_lock<std::mutex> lock(gate_.mutex_);
  while (gate_.free_ == 0) {
    const auto now = Clock::now();
    if (now >= deadline) return;
    lock.unlock();
    const bool left = gone();
    lock.lock();
    if (left) return;
    gate_.freed_.wait_for(lock, std::min<Clock::duration>(kClientCheck, deadline - now));
  }
  --gate_.free_;
  held_ = true;
}

ProbeGate::Pass::~Pass() {
  if (!held_) return;
  std::lock_guard<std::mutex> lock(gate_.mutex_);
  ++gate_.free_;
  gate_.freed_.notify_one();
}

}  // namespace t740::monitoring
