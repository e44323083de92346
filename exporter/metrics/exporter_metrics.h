// The exporter's own metrics (/metrics): probes by outcome, their duration
// as a histogram, SNMP requests and time-outs, build and plug-in, and the
// state of the configuration. Any thread.
#ifndef T740_EXPORTER_METRICS_EXPORTER_METRICS_H
#define T740_EXPORTER_METRICS_EXPORTER_METRICS_H

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "monitoring/web/connection_counts.h"

namespace t740::exporter {

// Abandoned: the client hung up, or its scrape time-out passed, while the
// probe waited for a place; Error: the probe failed inside the exporter.
enum class ProbeOutcome { Success, Failure, BadRequest, Forbidden, Abandoned, Error };

struct ReloadState {
  bool lastSuccessful;
  double lastSuccessSeconds;
};

class ExporterMetrics {
 public:
  ExporterMetrics(std::string version, std::string plugin);

  void CountProbe(ProbeOutcome outcome);
  // A probe that reached SNMP: its duration, whether it timed out (the
  // engine's discovery included), and the SNMP messages it sent.
  void CountSnmpProbe(double seconds, bool timedOut, int requests);
  monitoring::ConnectionCounts& Connections() { return connections_; }
  std::string Exposition(const ReloadState& reload) const;

 private:
  const std::string version_;
  const std::string plugin_;
  mutable std::mutex mutex_;
  std::array<uint64_t, 6> probes_{};
  std::vector<uint64_t> buckets_;  // probes up to each bound
  uint64_t durationCount_ = 0;
  double durationSum_ = 0;
  uint64_t snmpRequests_ = 0;
  uint64_t snmpTimeouts_ = 0;
  monitoring::ConnectionCounts connections_;
};

}  // namespace t740::exporter

#endif
