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

std::string LabelOf(const Alert& alert, const char* name) {
  const auto label = alert.labels.find(name);
  return label == alert.labels.end() ? "" : label->second;
}

CurrentAlarm CurrentOf(const Alert& alert) {
  return {AlertKey(alert),        LabelOf(alert, "instance"), LabelOf(alert, "card"),
          LabelOf(alert, "port"), LabelOf(alert, "alarm"),    LabelOf(alert, "severity"),
          alert.startsAt};
}

LogEntry ChangeOf(LogKind kind, const CurrentAlarm& alarm, Clock::time_point cardTime,
                  Clock::time_point learnt) {
  LogEntry entry;
  entry.kind = kind;
  entry.instance = alarm.instance;
  entry.card = alarm.card;
  entry.port = alarm.port;
  entry.alarm = alarm.alarm;
  entry.severity = alarm.severity;
  entry.cardTime = cardTime;
  entry.learnt = learnt;
  return entry;
}

}  // namespace

std::vector<LogEntry> AlarmBook::Observe(const CardTarget& card,
                                         const monitoring::ProbeResult& result,
                                         const std::vector<AlarmCue>& cues, Clock::time_point now) {
  std::lock_guard<std::mutex> lock(mutex_);
  CardAlarms& alarms = cards_[card.Key()];
  alarms.card = card;
  alarms.probed = true;
  // A card that answered without its alarm status is no truth about them.
  if (result.up && result.status.alarms) return Answered(card, alarms, result, cues, now);
  if (!result.up) Silent(card, alarms, cues, now);
  return {};
}

std::vector<LogEntry> AlarmBook::Answered(const CardTarget& card, CardAlarms& alarms,
                                          const monitoring::ProbeResult& result,
                                          const std::vector<AlarmCue>& cues,
                                          Clock::time_point now) {
  std::vector<LogEntry> changes;
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
    const CurrentAlarm& cleared = active->second;
    const auto clearedAt = CardTimeOf(cues, cleared.port, cleared.alarm, false).value_or(now);
    schedule_.Resolve(cleared.key, clearedAt, cued);
    changes.push_back(ChangeOf(LogKind::Cleared, cleared, clearedAt, now));
    active = alarms.active.erase(active);
  }
  for (const auto& [portAlarm, rule] : found) {
    if (alarms.active.count(portAlarm)) continue;
    Alert alert = AlarmAlert(card, rule.first, *rule.second);
    alert.startsAt = CardTimeOf(cues, rule.first, rule.second->alarm, true).value_or(now);
    alert.cued = cued;
    const CurrentAlarm raised = CurrentOf(alert);
    schedule_.Fire(raised.key, std::move(alert), now);
    changes.push_back(ChangeOf(LogKind::Raised, raised, raised.since, now));
    alarms.active[portAlarm] = raised;
  }
  return changes;
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
  alarms.card = card;
  if (unreachable) {
    alarms.unreachable = true;
  } else {
    alarms.active[PortAlarm(port->second, rule->alarm)] = CurrentOf(kept);
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

std::vector<CurrentAlarm> AlarmBook::Current() const {
  std::vector<CurrentAlarm> current;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [key, alarms] : cards_) {
    for (const auto& [portAlarm, alarm] : alarms.active) current.push_back(alarm);
  }
  return current;
}

std::vector<CardHealth> AlarmBook::Health() const {
  std::vector<CardHealth> health;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [key, alarms] : cards_) {
    health.push_back({alarms.card.instance, alarms.card.probe.card, alarms.probed,
                      alarms.probed && !alarms.silentSince, alarms.active.size()});
  }
  return health;
}

}  // namespace t740::alerter
