#include "alerter/alarms/alarm_book.h"

#include <algorithm>

#include "alerter/alarms/alarm_rules.h"

namespace t740::alerter {
namespace {

using Clock = AlarmBook::Clock;
using Cued = std::optional<std::chrono::steady_clock::time_point>;

std::string PortAlarm(const std::string& port, const std::string& alarm) {
  return port + "/" + alarm;
}

// The card's own time of the change, when a notification told it.
std::optional<Clock::time_point> CardTimeOf(const std::vector<AlarmCue>& cues,
                                            const std::string& port, const std::string& alarm,
                                            bool raised) {
  std::optional<Clock::time_point> time;
  for (const AlarmCue& cue : cues) {
    if (cue.port == port && cue.alarm == alarm && cue.raised == raised) time = cue.cardTime;
  }
  return time;
}

// When the first notification that asked for the probe arrived.
Cued FirstArrival(const std::vector<AlarmCue>& cues) {
  Cued first;
  for (const AlarmCue& cue : cues) {
    if (!first || cue.arrived < *first) first = cue.arrived;
  }
  return first;
}

// The alarms the probe found that a rule alerts on, by "PORT/ALARM".
std::map<std::string, std::pair<std::string, const AlarmRule*>> AlertedAlarms(
    const monitoring::ProbeResult& result) {
  std::map<std::string, std::pair<std::string, const AlarmRule*>> found;
  for (const host::AlarmRow& row : result.status.alarms.value_or(std::vector<host::AlarmRow>{})) {
    const AlarmRule* rule = RuleForAlarm(row.name);
    if (row.Present() && rule && !row.port.empty()) {
      found[PortAlarm(row.port, row.name)] = {row.port, rule};
    }
  }
  return found;
}

}  // namespace

void AlarmBook::Observe(const CardTarget& card, const monitoring::ProbeResult& result,
                        const std::vector<AlarmCue>& cues, Clock::time_point now) {
  std::lock_guard<std::mutex> lock(mutex_);
  CardAlarms& alarms = cards_[card.Key()];
  // A card that answered without its alarm status is no truth about them.
  if (result.up && result.status.alarms) {
    Answered(card, alarms, result, cues, now);
  } else if (!result.up) {
    Silent(card, alarms, cues, now);
  }
}

void AlarmBook::Answered(const CardTarget& card, CardAlarms& alarms,
                         const monitoring::ProbeResult& result, const std::vector<AlarmCue>& cues,
                         Clock::time_point now) {
  const Cued cued = FirstArrival(cues);
  alarms.silentSince.reset();
  if (alarms.unreachable) {
    schedule_.Resolve(AlertKey(UnreachableAlert(card)), now, cued);
    alarms.unreachable = false;
  }
  const auto found = AlertedAlarms(result);
  for (auto active = alarms.active.begin(); active != alarms.active.end();) {
    if (found.count(active->first)) {
      ++active;
      continue;
    }
    const std::string port = active->first.substr(0, active->first.find('/'));
    const std::string alarm = active->first.substr(active->first.find('/') + 1);
    schedule_.Resolve(active->second, CardTimeOf(cues, port, alarm, false).value_or(now), cued);
    active = alarms.active.erase(active);
  }
  for (const auto& [portAlarm, rule] : found) {
    if (alarms.active.count(portAlarm)) continue;
    Alert alert = AlarmAlert(card, rule.first, *rule.second);
    alert.startsAt = CardTimeOf(cues, rule.first, rule.second->alarm, true).value_or(now);
    alert.cued = cued;
    const std::string key = AlertKey(alert);
    schedule_.Fire(key, std::move(alert), now);
    alarms.active[portAlarm] = key;
  }
}

// The port alarms stand as they were: nothing is known of them now, and
// Alertmanager's inhibition keeps them quiet behind the card's silence.
void AlarmBook::Silent(const CardTarget& card, CardAlarms& alarms,
                       const std::vector<AlarmCue>& cues, Clock::time_point now) {
  if (!alarms.silentSince) alarms.silentSince = now;
  if (alarms.unreachable || now - *alarms.silentSince < timing_.unreachableAfter) return;
  Alert alert = UnreachableAlert(card);
  alert.startsAt = *alarms.silentSince;
  alert.cued = FirstArrival(cues);
  const std::string key = AlertKey(alert);
  schedule_.Fire(key, std::move(alert), now);
  alarms.unreachable = true;
}

bool AlarmBook::Remember(const CardTarget& card, const Alert& alert, Clock::time_point now) {
  const auto name = alert.labels.find("alertname");
  const AlarmRule* rule = name == alert.labels.end() ? nullptr : RuleForAlertname(name->second);
  if (!rule) return false;
  const auto port = alert.labels.find("port");
  const bool unreachable = name->second == kUnreachableAlert;
  if (!unreachable && port == alert.labels.end()) return false;
  Alert kept = unreachable ? UnreachableAlert(card) : AlarmAlert(card, port->second, *rule);
  kept.startsAt = alert.startsAt;
  const std::string key = AlertKey(kept);
  std::lock_guard<std::mutex> lock(mutex_);
  CardAlarms& alarms = cards_[card.Key()];
  if (unreachable) {
    alarms.unreachable = true;
  } else {
    alarms.active[PortAlarm(port->second, rule->alarm)] = key;
  }
  schedule_.Fire(key, std::move(kept), now);
  return true;
}

std::vector<Alert> AlarmBook::Due(Clock::time_point now) {
  std::lock_guard<std::mutex> lock(mutex_);
  return schedule_.Due(now);
}

size_t AlarmBook::Firing() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return schedule_.Firing().size();
}

}  // namespace t740::alerter
