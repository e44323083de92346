#include "monitoring/web/hash_gate.h"

namespace t740::monitoring {

HashGate::Pass::Pass(HashGate& gate) : gate_(gate) {
  std::unique_lock<std::mutex> lock(gate_.mutex_);
  held_ = gate_.freed_.wait_for(lock, gate_.longestWait_, [this] { return gate_.free_ > 0; });
  if (held_) --gate_.free_;
}

HashGate::Pass::~Pass() {
  if (!held_) return;
  std::lock_guard<std::mutex> lock(gate_.mutex_);
  ++gate_.free_;
  gate_.freed_.notify_one();
}

}  // namespace t740::monitoring
