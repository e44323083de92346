// Alarm changes waiting to be sent: filled from any thread (the event
// schedule's, the agent's), drained by the agent's main loop, which the
// queue's descriptor wakes: it is readable while changes wait. Unbounded,
// so that a storm sends every change.
#ifndef T740_SIM_AGENT_NOTIFICATION_QUEUE_H
#define T740_SIM_AGENT_NOTIFICATION_QUEUE_H

#include <mutex>
#include <vector>

#include "sim/agent/alarm_change.h"

namespace t740::sim {

class NotificationQueue {
 public:
  // Throws std::runtime_error when it cannot make its pipe.
  NotificationQueue();
  ~NotificationQueue();
  NotificationQueue(const NotificationQueue&) = delete;
  NotificationQueue& operator=(const NotificationQueue&) = delete;

  void Push(std::vector<AlarmChange> changes);
  // Everything waiting, oldest first; the queue is empty after.
  std::vector<AlarmChange> TakeAll();
  int Descriptor() const { return pipe_[0]; }

 private:
  std::mutex mutex_;
  std::vector<AlarmChange> waiting_;
  int pipe_[2];
};

}  // namespace t740::sim

#endif
