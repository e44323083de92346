#include "alerter/alertmanager/alert_schedule.h"

#include <algorithm>

namespace t740::alerter {
namespace {

// Prometheus's margin: a firing alert ends this many resends ahead.
constexpr int kEndsAfterResends = 4;

}  // namespace

AlertSchedule::AlertSchedule(Timing timing) : timing_(timing) {}

void AlertSchedule::Fire(const std::string& key, Alert alert, Clock::time_point now) {
  const auto found = entries_.find(key);
  if (found != entries_.end() && !found->second.resolved) {
    Alert& held = found->second.alert;
    held.annotations = std::move(alert.annotations);
    held.generatorUrl = std::move(alert.generatorUrl);
    if (!held.cued) held.cued = alert.cued;
    return;
  }
  Entry entry;
  if (found != entries_.end() && !found->second.nextSend) {
    entry.unsentResolve = found->second.alert;
  }
  if (alert.startsAt.time_since_epoch().count() == 0) alert.startsAt = now;
  alert.endsAt = {};
  entry.alert = std::move(alert);
  entries_[key] = std::move(entry);
}

void AlertSchedule::Resolve(const std::string& key, Clock::time_point clearedAt,
                            std::optional<std::chrono::steady_clock::time_point> cued) {
  const auto found = entries_.find(key);
  if (found == entries_.end() || found->second.resolved) return;
  Entry& entry = found->second;
  entry.resolved = true;
  entry.nextSend.reset();
  // The raise may carry the alerter's time (its cue coalesced away) and the
  // clear the card's whole seconds: Alertmanager refuses a whole batch over
  // one alert that ends before it starts.
  entry.alert.endsAt = std::max(clearedAt, entry.alert.startsAt);
  if (!entry.alert.cued) entry.alert.cued = cued;
}

std::vector<Alert> AlertSchedule::Due(Clock::time_point now) {
  std::vector<Alert> due;
  for (auto it = entries_.begin(); it != entries_.end();) {
    Entry& entry = it->second;
    if (entry.unsentResolve) {
      due.push_back(std::move(*entry.unsentResolve));
      entry.unsentResolve.reset();
    }
    if (Expired(entry, now)) {
      it = entries_.erase(it);
      continue;
    }
    if (IsDue(entry, now)) due.push_back(Posted(entry, now));
    ++it;
  }
  return due;
}

std::vector<std::string> AlertSchedule::Firing() const {
  std::vector<std::string> keys;
  for (const auto& [key, entry] : entries_) {
    if (!entry.resolved) keys.push_back(key);
  }
  return keys;
}

bool AlertSchedule::IsDue(const Entry& entry, Clock::time_point now) {
  return !entry.nextSend || *entry.nextSend <= now;
}

// The alert as posted now; its cue is spent on this post, and its next
// tick is one resend away.
Alert AlertSchedule::Posted(Entry& entry, Clock::time_point now) const {
  Alert posted = entry.alert;
  if (!entry.resolved) posted.endsAt = now + kEndsAfterResends * timing_.resend;
  entry.alert.cued.reset();
  entry.nextSend = now + timing_.resend;
  return posted;
}

// A resolve is posted at least once, however long ago it cleared.
bool AlertSchedule::Expired(const Entry& entry, Clock::time_point now) const {
  return entry.resolved && entry.nextSend && entry.alert.endsAt + timing_.resolvedRetention <= now;
}

}  // namespace t740::alerter
