// The alerter's own metrics (/metrics): what it counts itself (probes, cues
// for no known card, HTTP connections) beside what its parts count (the
// notifications by outcome, each Alertmanager's posts, queue and latency,
// the alerts firing), gathered when the page is written. Any thread.
#ifndef T740_ALERTER_METRICS_ALERTER_METRICS_H
#define T740_ALERTER_METRICS_ALERTER_METRICS_H

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "alerter/alertmanager/notifier.h"
#include "alerter/history/alarm_log.h"
#include "alerter/notifications/notification_outcome.h"
#include "monitoring/web/connection_counts.h"

namespace t740::alerter {

// What the parts say at the moment the page is written.
struct AlerterState {
  std::vector<NotificationCount> notifications;
  NotifierCounts alertmanagers;
  size_t alertsFiring = 0;
  size_t cards = 0;
  size_t probesWaiting = 0;
  uint64_t probesAsked = 0;
  bool lastReloadSuccessful = true;
  double lastReloadSuccessSeconds = 0;
  AlarmLogHealth log;  // not writable, every change in the gap, when it did not open
};

class AlerterMetrics {
 public:
  explicit AlerterMetrics(std::string version) : version_(std::move(version)) {}

  void CountProbe(bool up, double seconds);
  // A notification from no card the targets name.
  void CountUnknownCard();
  monitoring::ConnectionCounts& Connections() { return connections_; }
  std::string Exposition(const AlerterState& state) const;

 private:
  const std::string version_;
  mutable std::mutex mutex_;
  uint64_t probesUp_ = 0;
  uint64_t probesDown_ = 0;
  double probeSeconds_ = 0;
  uint64_t unknownCards_ = 0;
  monitoring::ConnectionCounts connections_;
};

}  // namespace t740::alerter

#endif
