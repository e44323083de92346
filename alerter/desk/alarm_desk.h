// The alarm desk's state behind its JSON API: the changes for the page's
// long poll, the operators' acknowledgements with their silences in every
// Alertmanager, and Alertmanager's silences as lately listed. An
// acknowledgement ends with its alarm: a clear expires its silences. A
// thread of its own takes the desk's silences back at the start, expires
// and renews them, so that no probe waits on Alertmanager. Any thread.
#ifndef T740_ALERTER_DESK_ALARM_DESK_H
#define T740_ALERTER_DESK_ALARM_DESK_H

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "alerter/alarms/alarm_book.h"
#include "alerter/alertmanager/alertmanager_url.h"
#include "alerter/desk/acknowledgement.h"
#include "alerter/desk/event_ring.h"
#include "alerter/desk/silence.h"
#include "alerter/history/alarm_log.h"
#include "monitoring/log/logger.h"

namespace t740::alerter {

struct DeskParts {
  std::vector<AlertmanagerUrl> alertmanagers;
  AlarmLog* alarmLog;  // none: acknowledgements are not kept
  monitoring::Logger& log;
};

// What the desk asks of the watch, whose changes it is told from the
// watch's start.
struct DeskWatch {
  std::function<std::vector<CurrentAlarm>()> current;  // the alarms firing now
  // The first round has run: an alarm not firing now has cleared.
  std::function<bool()> ready;
};

// An operator's request's outcome, as an HTTP status and its reason.
struct DeskAnswer {
  int status = 200;
  std::string reason;   // when not 200
  std::string silence;  // the first silence's id
};

class AlarmDesk {
 public:
  explicit AlarmDesk(DeskParts parts);
  ~AlarmDesk();
  AlarmDesk(const AlarmDesk&) = delete;
  AlarmDesk& operator=(const AlarmDesk&) = delete;

  // Takes the desk's silences back from Alertmanager, then keeps them;
  // before the first operator's request.
  void Start(DeskWatch watch);
  // WatchParts::changed.
  void Changed(const std::vector<LogEntry>& changes);

  DeskAnswer Acknowledge(const std::string& key, const std::string& who,
                         const std::string& comment);
  DeskAnswer Withdraw(const std::string& key, const std::string& who);

  const EventRing& Events() const { return events_; }
  std::map<std::string, Acknowledgement> Acknowledged() const;
  // Alertmanager's active silences from the first that answers, kept a
  // moment so that many pages cost it one request.
  std::vector<Silence> ActiveSilences();

 private:
  void Upkeep();
  void TakeBack();
  void ExpireQueued();
  void Sweep();
  void Renew(std::chrono::system_clock::time_point now);
  void Expire(const std::vector<PlacedSilence>& silences);
  std::vector<PlacedSilence> Place(Acknowledgement& acknowledgement, std::string& reasons);
  void Record(LogKind kind, const Acknowledgement& acknowledgement, const std::string& who,
              const std::string& comment);

  DeskParts parts_;
  DeskWatch watch_;
  EventRing events_;
  std::mutex operating_;  // one operator's change (or the upkeep's) at a time
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::map<std::string, Acknowledgement> acknowledged_;  // by the alert's key
  std::vector<PlacedSilence> toExpire_;
  std::mutex silencesMutex_;
  std::chrono::steady_clock::time_point silencesAt_;
  std::vector<Silence> silences_;
  std::thread upkeep_;
};

}  // namespace t740::alerter

#endif
