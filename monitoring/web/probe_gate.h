// How many probes run at once: each holds SNMP sessions and a share of the
// plug-in's decoding, so the rest wait their turn, but no longer than their
// scrape may last, and not for a client that has gone.
#ifndef T740_MONITORING_WEB_PROBE_GATE_H
#define T740_MONITORING_WEB_PROBE_GATE_H

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace t740::monitoring {

class ProbeGate {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ProbeGate(int places) : free_(places) {}

  // Waits for a place until `deadline`, or until `gone` (asked now and then
  // while waiting) says the client has hung up; holds it for its life.
  class Pass {
   public:
    Pass(ProbeGate& gate, Clock::time_point deadline, const std::function<bool()>& gone);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    bool Held() const { return held_; }

   private:
    ProbeGate& gate_;
    bool held_ = false;
  };

 private:
  std::mutex mutex_;
  std::condition_variable freed_;
  int free_;
};

}  // namespace t740::monitoring

#endif
