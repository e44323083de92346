// Receives the cards' t740AlarmChange notifications on a thread of its
// own: the session's socket and a stop pipe in one poll, each message read
// under the library's locks, each accepted cue handed to the callback after
// they are let go (the callback may probe the card through the library).
#ifndef T740_ALERTER_NOTIFICATIONS_NOTIFICATION_RECEIVER_H
#define T740_ALERTER_NOTIFICATIONS_NOTIFICATION_RECEIVER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "alerter/notifications/alarm_cue.h"
#include "alerter/notifications/notification_outcome.h"
#include "alerter/notifications/notification_session.h"

namespace t740::alerter {

class NotificationReceiver {
 public:
  using CueCallback = std::function<void(AlarmCue)>;

  // Opens the session (see NotificationSession, which throws) and starts
  // the thread.
  NotificationReceiver(const ReceiverSettings& settings, CueCallback onCue);
  ~NotificationReceiver();
  NotificationReceiver(const NotificationReceiver&) = delete;
  NotificationReceiver& operator=(const NotificationReceiver&) = delete;

  uint16_t Port() const { return session_->Port(); }
  const std::string& EngineId() const { return session_->EngineId(); }
  std::vector<NotificationCount> Counts() const { return counts_.Snapshot(); }
  uint64_t CountOf(NotificationOutcome outcome) const { return counts_.Of(outcome); }

  // Ends the thread; no callback runs after it returns. Later calls do
  // nothing.
  void Stop();

 private:
  void Run();

  NotificationCounts counts_;
  std::unique_ptr<NotificationSession> session_;
  CueCallback onCue_;
  int stopPipe_[2] = {-1, -1};
  std::thread thread_;
};

}  // namespace t740::alerter

#endif
