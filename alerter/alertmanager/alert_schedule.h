#ifndef T740_ALERTER_ALERTMANAGER_ALERT_SCHEDULE_H
#define T740_ALERTER_ALERTMANAGER_ALERT_SCHEDULE_H

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "alerter/alertmanager/alert.h"

namespace t740::alerter {

// What to post when, as Prometheus does for its rule alerts: a firing alert
// at once and again every `resend`, ending 4 resends ahead so Alertmanager
// resolves it by itself should the alerter fall silent; a resolved one at
// once, ending when it cleared, and again every `resend` until
// `resolvedRetention` after it cleared, then forgotten.
// Not thread-safe: the caller serialises every call.
class AlertSchedule {
 public:
  using Clock = std::chrono::system_clock;

  struct Timing {
    Clock::duration resend = std::chrono::minutes(1);
    Clock::duration resolvedRetention = std::chrono::minutes(15);
  };

  AlertSchedule() = default;
  explicit AlertSchedule(Timing timing);

  // Starts the alert under `key`, due at once; its startsAt is kept when set,
  // `now` otherwise. For a key already firing, the annotations and
  // generator URL are renewed; its labels, startsAt and next tick stay. For a resolved
  // key, a new alert starts, posted after the resolve if that is still due.
  void Fire(const std::string& key, Alert alert, Clock::time_point now);
  // Resolves a firing key as of `clearedAt`, due at once; other keys are
  // left alone.
  void Resolve(const std::string& key, Clock::time_point clearedAt,
               std::optional<std::chrono::steady_clock::time_point> cued = std::nullopt);
  // The alerts due at `now`, with their endsAt; each is due once per tick.
  // Resolved alerts past their retention are forgotten, once posted.
  std::vector<Alert> Due(Clock::time_point now);
  // The firing keys, in order.
  std::vector<std::string> Firing() const;

 private:
  struct Entry {
    Alert alert;
    bool resolved = false;
    std::optional<Clock::time_point> nextSend;  // unset: due at once
    std::optional<Alert> unsentResolve;         // the previous alert's resolve
  };

  static bool IsDue(const Entry& entry, Clock::time_point now);
  Alert Posted(Entry& entry, Clock::time_point now) const;
  bool Expired(const Entry& entry, Clock::time_point now) const;

  Timing timing_;
  std::map<std::string, Entry> entries_;
};

}  // namespace t740::alerter

#endif
