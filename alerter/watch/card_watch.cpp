#include "alerter/watch/card_watch.h"

#include <map>

#include "alerter/alarms/alarm_rules.h"
#include "alerter/alertmanager/fetch_alerts.h"
#include "monitoring/probe/card_prober.h"

namespace t740::alerter {
namespace {

using Clock = std::chrono::system_clock;
using monitoring::LogLevel;

constexpr auto kTick = std::chrono::seconds(1);
// Alertmanager's alerts of the alerter's kind; the rules' names all begin so.
constexpr char kOwnAlerts[] = "alertname=~\"T740.+\"";

std::string LabelOf(const Alert& alert, const char* name) {
  const auto label = alert.labels.find(name);
  return label == alert.labels.end() ? "" : label->second;
}

}  // namespace

CardWatch::CardWatch(WatchParts parts, WatchSettings settings)
    : parts_(parts),
      settings_(settings),
      book_(settings.timing),
      probes_(settings.probesAtOnce, [this](const CardTarget& card, std::vector<AlarmCue> cues) {
        ProbeCard(card, std::move(cues));
      }) {}

CardWatch::~CardWatch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  ending_.notify_all();
  if (rounds_.joinable()) rounds_.join();
  if (ticks_.joinable()) ticks_.join();
}

void CardWatch::Reconcile(const std::vector<AlertmanagerUrl>& alertmanagers) {
  std::map<std::string, CardTarget> known;
  for (const CardTarget& card : parts_.cards.All()) known.emplace(card.Key(), card);
  for (const AlertmanagerUrl& alertmanager : alertmanagers) {
    std::vector<Alert> alerts;
    try {
      alerts = FetchAlerts(alertmanager, {kOwnAlerts});
    } catch (const std::runtime_error& error) {
      parts_.log.Log(LogLevel::Warn, "cannot ask Alertmanager for the alerts it holds",
                     {{"alertmanager", alertmanager.Text()}, {"err", error.what()}});
      continue;
    }
    size_t taken = 0;
    for (const Alert& alert : alerts) {
      const auto card = known.find(LabelOf(alert, "instance") + "/" + LabelOf(alert, "card"));
      if (card != known.end()) taken += book_.Remember(card->second, alert, Clock::now());
    }
    parts_.log.Log(LogLevel::Info, "took over the alerts Alertmanager holds",
                   {{"alertmanager", alertmanager.Text()}, {"alerts", std::to_string(taken)}});
    return;
  }
}

void CardWatch::Start() {
  rounds_ = std::thread([this] { Rounds(); });
  ticks_ = std::thread([this] { Ticks(); });
}

void CardWatch::Cue(const AlarmCue& cue) {
  const std::vector<CardTarget> cards = parts_.cards.Matching(cue.source, cue.card);
  if (cards.empty()) {
    parts_.metrics.CountUnknownCard();
    parts_.log.Log(LogLevel::Debug, "a notification from no card the targets name",
                   {{"source", cue.source}, {"card", cue.card}});
  }
  for (const CardTarget& card : cards) probes_.Ask(card, cue);
}

const monitoring::Auth* CardWatch::AuthOf(const CardTarget& card,
                                          const monitoring::AccessConfig& config) const {
  if (card.probe.auth.empty()) return &config.defaultAuth;
  const auto named = config.auths.find(card.probe.auth);
  return named == config.auths.end() ? nullptr : &named->second;
}

void CardWatch::ProbeCard(const CardTarget& card, std::vector<AlarmCue> cues) {
  if (!parts_.allowList.Allows(card.probe.ipv4)) {
    parts_.log.Log(LogLevel::Warn, "a card outside --allow-target is not probed",
                   {{"instance", card.instance}, {"card", card.probe.card}});
    return;
  }
  const auto config = parts_.config.Current();
  const monitoring::Auth* auth = AuthOf(card, *config);
  if (!auth) {
    parts_.log.Log(LogLevel::Error, "a card's auth is not in the configuration",
                   {{"instance", card.instance}, {"auth", card.probe.auth}});
    return;
  }
  const monitoring::ProbeResult result =
      monitoring::ProbeCard(parts_.exports, parts_.sessions, card.probe, *auth,
                            {config->timeoutMilliseconds, config->retries});
  parts_.metrics.CountProbe(result.up, result.seconds);
  if (!result.up) {
    parts_.log.Log(
        LogLevel::Debug, "probe failed",
        {{"instance", card.instance}, {"card", card.probe.card}, {"err", result.reason}});
  }
  const LogRoad road = RoadOf(card, cues);
  std::vector<LogEntry> changes = book_.Observe(card, result, cues, Clock::now());
  for (LogEntry& change : changes) change.road = road;
  Keep(changes);
  Post();
}

monitoring::ProbeResult CardWatch::Inspect(const CardTarget& card) const {
  monitoring::ProbeResult refused;
  if (!parts_.allowList.Allows(card.probe.ipv4)) {
    refused.reason = "the card is outside --allow-target";
    return refused;
  }
  const auto config = parts_.config.Current();
  const monitoring::Auth* auth = AuthOf(card, *config);
  if (!auth) {
    refused.reason = "the card's auth is not in the configuration";
    return refused;
  }
  return monitoring::ProbeCard(parts_.exports, parts_.sessions, card.probe, *auth,
                               {config->timeoutMilliseconds, config->retries});
}

LogRoad CardWatch::RoadOf(const CardTarget& card, const std::vector<AlarmCue>& cues) {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool first = probed_.insert(card.Key()).second;
  if (!cues.empty()) return LogRoad::Notification;
  return first ? LogRoad::StartUp : LogRoad::Round;
}

// Kept before they are posted: what Alertmanager has heard of, the log
// holds, unless the log has failed.
void CardWatch::Keep(std::vector<LogEntry>& changes) {
  if (changes.empty()) return;
  if (parts_.alarmLog) parts_.alarmLog->Record(changes);
  if (parts_.changed) parts_.changed(changes);
}

void CardWatch::Post() {
  std::vector<Alert> due = book_.Due(Clock::now());
  if (!due.empty()) parts_.notifier.Send(due);
}

bool CardWatch::Sleep(std::chrono::milliseconds time) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !ending_.wait_for(lock, time, [this] { return stopping_; });
}

void CardWatch::Rounds() {
  do {
    parts_.cards.Refresh();
    for (const CardTarget& card : parts_.cards.All()) probes_.Ask(card);
  } while (Sleep(settings_.round));
}

// The schedule's re-sends, and the targets files looked at again; the
// alerter is ready once its first round has run.
void CardWatch::Ticks() {
  while (Sleep(kTick)) {
    Post();
    if (!ready_ && probes_.Waiting() == 0) ready_ = true;
    if (parts_.cards.Refresh()) {
      for (const CardTarget& card : parts_.cards.All()) probes_.Ask(card);
    }
  }
}

}  // namespace t740::alerter
