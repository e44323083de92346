// The alerter's work: every card the targets files name is probed at the
// start and again each round, and whenever a notification names it; each
// probe's alarms go to the book, and what the book owes Alertmanager goes to
// the notifier at once and on every tick of its schedule. A lost
// notification thus costs at most a round.
#ifndef T740_ALERTER_WATCH_CARD_WATCH_H
#define T740_ALERTER_WATCH_CARD_WATCH_H

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "alerter/alarms/alarm_book.h"
#include "alerter/alertmanager/alertmanager_url.h"
#include "alerter/alertmanager/notifier.h"
#include "alerter/cards/card_directory.h"
#include "alerter/history/alarm_log.h"
#include "alerter/metrics/alerter_metrics.h"
#include "alerter/notifications/alarm_cue.h"
#include "alerter/probing/card_probes.h"
#include "hosting/plugin/plugin_library.h"
#include "monitoring/config/config_holder.h"
#include "monitoring/log/logger.h"
#include "monitoring/probe/session_pool.h"
#include "monitoring/probe/target_allow_list.h"

namespace t740::alerter {

struct WatchParts {
  const host::PluginExports& exports;
  monitoring::ConfigHolder& config;
  const monitoring::TargetAllowList& allowList;
  monitoring::SessionPool& sessions;
  CardDirectory& cards;
  Notifier& notifier;
  AlerterMetrics& metrics;
  monitoring::Logger& log;
  AlarmLog* alarmLog;  // none: the changes are not kept
  // Told of each probe's changes once they are kept, before they are
  // posted; any thread.
  std::function<void(const std::vector<LogEntry>&)> changed;
};

struct WatchSettings {
  std::chrono::milliseconds round = std::chrono::minutes(1);
  int probesAtOnce = 16;
  AlarmBook::Timing timing;
};

class CardWatch {
 public:
  CardWatch(WatchParts parts, WatchSettings settings);
  // Ends the rounds and the ticks; probes in flight finish.
  ~CardWatch();
  CardWatch(const CardWatch&) = delete;
  CardWatch& operator=(const CardWatch&) = delete;

  // Takes over the alerts of its kind that Alertmanager still holds for the
  // cards it knows, so that the first probes resolve what cleared while the
  // alerter was away. The first Alertmanager that answers is asked.
  void Reconcile(const std::vector<AlertmanagerUrl>& alertmanagers);
  // Starts the rounds (the first at once) and the schedule's ticks.
  void Start();
  // A notification: its card is probed soon.
  void Cue(const AlarmCue& cue);
  // The first round's probes have all run.
  bool Ready() const { return ready_; }
  size_t Firing() const { return book_.Firing(); }
  std::vector<CurrentAlarm> Current() const { return book_.Current(); }
  std::vector<CardHealth> Health() const { return book_.Health(); }
  size_t Waiting() const { return probes_.Waiting(); }
  uint64_t Asked() const { return probes_.Asked(); }
  // Probes the card now for the desk's view of it, outside the book: what
  // it finds raises and clears nothing.
  monitoring::ProbeResult Inspect(const CardTarget& card) const;

 private:
  void ProbeCard(const CardTarget& card, std::vector<AlarmCue> cues);
  const monitoring::Auth* AuthOf(const CardTarget& card,
                                 const monitoring::AccessConfig& config) const;
  LogRoad RoadOf(const CardTarget& card, const std::vector<AlarmCue>& cues);
  void Keep(std::vector<LogEntry>& changes);
  void Post();
  void Rounds();
  void Ticks();
  // Waits `time` or until the watch ends; false when it ends.
  bool Sleep(std::chrono::milliseconds time);

  WatchParts parts_;
  const WatchSettings settings_;
  AlarmBook book_;
  std::atomic<bool> ready_{false};
  std::mutex mutex_;
  std::condition_variable ending_;
  bool stopping_ = false;
  std::set<std::string> probed_;  // cards probed since the start, under mutex_
  CardProbes probes_;             // after what its workers use
  std::thread rounds_;
  std::thread ticks_;
};

}  // namespace t740::alerter

#endif
