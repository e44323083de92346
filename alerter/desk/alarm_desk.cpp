#include "alerter/desk/alarm_desk.h"

#include <stdexcept>

#include "alerter/desk/silence_client.h"

namespace t740::alerter {
namespace {

using Clock = std::chrono::system_clock;
using monitoring::LogLevel;

constexpr auto kUpkeepPause = std::chrono::minutes(1);
constexpr auto kSilencesKept = std::chrono::seconds(2);
constexpr char kActive[] = "active";

const CurrentAlarm* FindAlarm(const std::vector<CurrentAlarm>& alarms, const std::string& key) {
  for (const CurrentAlarm& alarm : alarms) {
    if (alarm.key == key) return &alarm;
  }
  return nullptr;
}

std::string KeyOfEntry(const LogEntry& entry) {
  const auto labels = AlarmLabels(entry.instance, entry.card, entry.port, entry.alarm);
  return labels ? KeyOfLabels(*labels) : "";
}

}  // namespace

AlarmDesk::AlarmDesk(DeskParts parts) : parts_(std::move(parts)) {}

AlarmDesk::~AlarmDesk() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (upkeep_.joinable()) upkeep_.join();
}

void AlarmDesk::Start(DeskWatch watch) {
  watch_ = std::move(watch);
  upkeep_ = std::thread([this] { Upkeep(); });
}

void AlarmDesk::Changed(const std::vector<LogEntry>& changes) {
  events_.Add(changes);
  bool expiring = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const LogEntry& change : changes) {
      if (change.kind != LogKind::Cleared) continue;
      const auto acknowledged = acknowledged_.find(KeyOfEntry(change));
      if (acknowledged == acknowledged_.end()) continue;
      const auto& silences = acknowledged->second.silences;
      toExpire_.insert(toExpire_.end(), silences.begin(), silences.end());
      acknowledged_.erase(acknowledged);
      expiring = true;
    }
  }
  if (expiring) wake_.notify_all();
}

DeskAnswer AlarmDesk::Acknowledge(const std::string& key, const std::string& who,
                                  const std::string& comment) {
  std::lock_guard<std::mutex> operating(operating_);
  if (!watch_.current) return {503, "the desk has not started", ""};
  const std::vector<CurrentAlarm> current = watch_.current();
  const CurrentAlarm* alarm = FindAlarm(current, key);
  if (!alarm) return {404, "no such alarm stands now", ""};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto held = acknowledged_.find(key);
    if (held != acknowledged_.end()) {
      return {409, "already acknowledged by " + held->second.who, ""};
    }
  }
  Acknowledgement acknowledgement;
  acknowledgement.labels =
      AlarmLabels(alarm->instance, alarm->card, alarm->port, alarm->alarm).value_or(Labels{});
  acknowledgement.who = who;
  acknowledgement.comment = comment;
  acknowledgement.at = Clock::now();
  acknowledgement.endsAt = acknowledgement.at + kAcknowledgementLife;
  std::string reasons;
  acknowledgement.silences = Place(acknowledgement, reasons);
  if (acknowledgement.silences.empty()) {
    return {502, "no Alertmanager took the silence: " + reasons, ""};
  }
  Record(LogKind::Acknowledged, acknowledgement, who, comment);
  const std::string id = acknowledgement.silences.front().id;
  std::lock_guard<std::mutex> lock(mutex_);
  acknowledged_[key] = std::move(acknowledgement);
  return {200, "", id};
}

DeskAnswer AlarmDesk::Withdraw(const std::string& key, const std::string& who) {
  std::lock_guard<std::mutex> operating(operating_);
  Acknowledgement acknowledgement;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto held = acknowledged_.find(key);
    if (held == acknowledged_.end()) return {404, "no such alarm is acknowledged", ""};
    acknowledgement = std::move(held->second);
    acknowledged_.erase(held);
  }
  Expire(acknowledgement.silences);
  Record(LogKind::Unacknowledged, acknowledgement, who, "");
  return {200, "", acknowledgement.silences.front().id};
}

std::map<std::string, Acknowledgement> AlarmDesk::Acknowledged() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return acknowledged_;
}

// A failure is kept as an empty list for as long as a list would be: an
// Alertmanager away costs each page nothing.
std::vector<Silence> AlarmDesk::ActiveSilences() {
  std::lock_guard<std::mutex> lock(silencesMutex_);
  const auto now = std::chrono::steady_clock::now();
  if (silencesAt_ != std::chrono::steady_clock::time_point() && now - silencesAt_ < kSilencesKept) {
    return silences_;
  }
  silences_.clear();
  silencesAt_ = now;
  for (const AlertmanagerUrl& alertmanager : parts_.alertmanagers) {
    try {
      for (Silence& silence : FetchSilences(alertmanager)) {
        if (silence.state == kActive) silences_.push_back(std::move(silence));
      }
      break;
    } catch (const std::runtime_error& error) {
      parts_.log.Log(LogLevel::Debug, "cannot list Alertmanager's silences",
                     {{"err", error.what()}});
    }
  }
  return silences_;
}

std::vector<PlacedSilence> AlarmDesk::Place(Acknowledgement& acknowledgement,
                                            std::string& reasons) {
  const Silence silence = SilenceOfAcknowledgement(acknowledgement);
  std::vector<PlacedSilence> placed;
  for (const AlertmanagerUrl& alertmanager : parts_.alertmanagers) {
    try {
      placed.push_back({alertmanager, PostSilence(alertmanager, silence)});
    } catch (const std::runtime_error& error) {
      parts_.log.Log(LogLevel::Warn, "cannot post an acknowledgement's silence",
                     {{"err", error.what()}});
      reasons += reasons.empty() ? error.what() : std::string("; ") + error.what();
    }
  }
  return placed;
}

void AlarmDesk::Expire(const std::vector<PlacedSilence>& silences) {
  for (const PlacedSilence& silence : silences) {
    try {
      ExpireSilence(silence.alertmanager, silence.id);
    } catch (const std::runtime_error& error) {
      parts_.log.Log(LogLevel::Warn, "cannot expire an acknowledgement's silence",
                     {{"silence", silence.id}, {"err", error.what()}});
    }
  }
}

void AlarmDesk::Record(LogKind kind, const Acknowledgement& acknowledgement, const std::string& who,
                       const std::string& comment) {
  auto label = [&](const char* name) {
    const auto found = acknowledgement.labels.find(name);
    return found == acknowledgement.labels.end() ? std::string() : found->second;
  };
  LogEntry entry;
  entry.kind = kind;
  entry.instance = label("instance");
  entry.card = label("card");
  entry.port = label("port");
  entry.alarm = label("alarm");
  entry.severity = label("severity");
  entry.cardTime = entry.learnt = Clock::now();
  entry.road = LogRoad::Operator;
  entry.who = who;
  entry.comment = comment;
  std::vector<LogEntry> entries = {entry};
  if (parts_.alarmLog) parts_.alarmLog->Record(entries);
  events_.Add(entries);
}

void AlarmDesk::Upkeep() {
  TakeBack();
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, kUpkeepPause, [this] { return stopping_ || !toExpire_.empty(); });
    if (stopping_) return;
    lock.unlock();
    ExpireQueued();
    Sweep();
    Renew(Clock::now());
    lock.lock();
  }
}

// Every Alertmanager is asked: separate ones each hold a silence of the
// acknowledgement.
void AlarmDesk::TakeBack() {
  std::lock_guard<std::mutex> operating(operating_);
  for (const AlertmanagerUrl& alertmanager : parts_.alertmanagers) {
    std::vector<Silence> silences;
    try {
      silences = FetchSilences(alertmanager);
    } catch (const std::runtime_error& error) {
      parts_.log.Log(LogLevel::Warn, "cannot take the acknowledgements back from Alertmanager",
                     {{"err", error.what()}});
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Silence& silence : silences) {
      auto acknowledgement = AcknowledgementOfSilence(silence);
      if (!acknowledgement) continue;
      const std::string key = KeyOfLabels(acknowledgement->labels);
      auto held = acknowledged_.emplace(key, std::move(*acknowledgement)).first;
      held->second.silences.push_back({alertmanager, silence.id});
    }
  }
}

void AlarmDesk::ExpireQueued() {
  std::vector<PlacedSilence> expiring;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    expiring.swap(toExpire_);
  }
  Expire(expiring);
}

// What cleared unseen (while the alerter was away, or during an
// operator's acknowledgement) ends its acknowledgement here.
void AlarmDesk::Sweep() {
  if (!watch_.ready()) return;
  std::lock_guard<std::mutex> operating(operating_);
  const std::vector<CurrentAlarm> current = watch_.current();
  std::vector<PlacedSilence> expiring;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto held = acknowledged_.begin(); held != acknowledged_.end();) {
      if (FindAlarm(current, held->first)) {
        ++held;
        continue;
      }
      expiring.insert(expiring.end(), held->second.silences.begin(), held->second.silences.end());
      held = acknowledged_.erase(held);
    }
  }
  Expire(expiring);
}

void AlarmDesk::Renew(Clock::time_point now) {
  std::lock_guard<std::mutex> operating(operating_);
  std::map<std::string, Acknowledgement> held = Acknowledged();
  for (auto& [key, acknowledgement] : held) {
    if (acknowledgement.endsAt - now > kAcknowledgementRenewal) continue;
    acknowledgement.endsAt = now + kAcknowledgementLife;
    Silence silence = SilenceOfAcknowledgement(acknowledgement);
    for (PlacedSilence& placed : acknowledgement.silences) {
      silence.id = placed.id;
      try {
        placed.id = PostSilence(placed.alertmanager, silence);
      } catch (const std::runtime_error& error) {
        parts_.log.Log(LogLevel::Warn, "cannot renew an acknowledgement's silence",
                       {{"silence", placed.id}, {"err", error.what()}});
      }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const auto still = acknowledged_.find(key);
    if (still != acknowledged_.end()) still->second = acknowledgement;
  }
}

}  // namespace t740::alerter
