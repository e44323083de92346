#include "exporter/web/probe_gate.h"

namespace t740::exporter {

ProbeGate::Pass::Pass(ProbeGate& gate) : gate_(gate) {
  std::unique_lock<std::mutex> lock(gate_.mutex_);
  gate_.freed_.wait(lock, [this] { return gate_.free_ > 0; });
  --gate_.free_;
}

ProbeGate::Pass::~Pass() {
  std::lock_guard<std::mutex> lock(gate_.mutex_);
  ++gate_.free_;
  gate_.freed_.notify_one();
}

}  // namespace t740::exporter
