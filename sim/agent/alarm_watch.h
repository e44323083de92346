// The alarms each card reported when last looked at: a look compares them
// with what the card reports now and queues the changes. The first look at
// a card compares with no alarms, so that alarms present at the start are
// sent too. Safe from any thread.
#ifndef T740_SIM_AGENT_ALARM_WATCH_H
#define T740_SIM_AGENT_ALARM_WATCH_H

#include <mutex>
#include <string>
#include <unordered_map>

#include "sim/agent/notification_queue.h"
#include "sim/simulated_card.h"

namespace t740::sim {

class AlarmWatch {
 public:
  explicit AlarmWatch(NotificationQueue& queue) : queue_(queue) {}

  void Look(SimulatedCard& card);

 private:
  NotificationQueue& queue_;
  // Held while the card is read, so that two looks at one card cannot
  // pass each other.
  std::mutex mutex_;
  std::unordered_map<const SimulatedCard*, std::string> seen_;  // alarm status texts
};

}  // namespace t740::sim

#endif
