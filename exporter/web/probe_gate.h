// How many probes run at once: each holds SNMP sessions and a share of the
// plug-in's decoding, so the rest wait their turn.
#ifndef T740_EXPORTER_WEB_PROBE_GATE_H
#define T740_EXPORTER_WEB_PROBE_GATE_H

#include <condition_variable>
#include <mutex>

namespace t740::exporter {

class ProbeGate {
 public:
  explicit ProbeGate(int places) : free_(places) {}

  // Holds a place for its life.
  class Pass {
   public:
    explicit Pass(ProbeGate& gate);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

   private:
    ProbeGate& gate_;
  };

 private:
  std::mutex mutex_;
  std::condition_variable freed_;
  int free_;
};

}  // namespace t740::exporter

#endif
