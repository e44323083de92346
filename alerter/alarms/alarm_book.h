// What the alerter holds of every card's alarms and owes Alertmanager: each
// probe's decoded alarms are compared with what the card had, each raise
// fired and each clear resolved on the schedule that re-sends them. The
// probe is the truth; the notifications that asked for it only lend their
// card's times of the changes. Any thread.
#ifndef T740_ALERTER_ALARMS_ALARM_BOOK_H
#define T740_ALERTER_ALARMS_ALARM_BOOK_H

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "alerter/alertmanager/alert.h"
#include "alerter/alertmanager/alert_schedule.h"
#include "alerter/cards/card_target.h"
#include "alerter/history/log_entry.h"
#include "alerter/notifications/alarm_cue.h"
#include "monitoring/probe/card_prober.h"

namespace t740::alerter {

// An alarm the book holds firing, for the desk.
struct CurrentAlarm {
  std::string key;  // the alert's, AlertKey
  std::string instance;
  std::string card;
  std::string port;
  std::string alarm;
  std::string severity;
  std::chrono::system_clock::time_point since;  // the card's time, when it told one
};

// Whether a card answered its last probe, for the desk.
struct CardHealth {
  std::string instance;
  std::string card;
  bool probed = false;  // not yet, since the alerter started
  bool answering = false;
  size_t alarms = 0;
};

class AlarmBook {
 public:
  using Clock = std::chrono::system_clock;

  struct Timing {
    AlertSchedule::Timing schedule;
    // How long a card must stay silent before it is called unreachable, as
    // the rule's `for`.
    Clock::duration unreachableAfter = std::chrono::minutes(1);
  };

  explicit AlarmBook(Timing timing) : timing_(timing), schedule_(timing.schedule) {}

  // A probe of `card` and what it found; `cues` are the notifications that
  // asked for it, if any. The raises and clears it found, for the log
  // (their road is left to the caller).
  std::vector<LogEntry> Observe(const CardTarget& card, const monitoring::ProbeResult& result,
                                const std::vector<AlarmCue>& cues, Clock::time_point now);
  // An alert of the alerter's kind found in Alertmanager (at start): firing
  // until a probe of its card says otherwise. False when it is none of the
  // alerter's.
  bool Remember(const CardTarget& card, const Alert& alert, Clock::time_point now);
  // The alerts to post now.
  std::vector<Alert> Due(Clock::time_point now);
  size_t Firing() const;
  std::vector<CurrentAlarm> Current() const;
  std::vector<CardHealth> Health() const;

 private:
  struct CardAlarms {
    CardTarget card;
    std::map<std::string, CurrentAlarm> active;  // by "PORT/ALARM"
    std::optional<Clock::time_point> silentSince;
    bool unreachable = false;
    bool probed = false;
  };

  std::vector<LogEntry> Answered(const CardTarget& card, CardAlarms& alarms,
                                 const monitoring::ProbeResult& result,
                                 const std::vector<AlarmCue>& cues, Clock::time_point now);
  void Silent(const CardTarget& card, CardAlarms& alarms, const std::vector<AlarmCue>& cues,
              Clock::time_point now);

  const Timing timing_;
  mutable std::mutex mutex_;
  AlertSchedule schedule_;
  std::map<std::string, CardAlarms> cards_;  // by CardTarget::Key()
};

}  // namespace t740::alerter

#endif
