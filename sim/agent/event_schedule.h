// Line events applied to their cards as their time comes, in a thread of
// their own (the cards are safe to change from any thread), each logged as
// it happens: "t740-sim: +5s 127.0.0.3 0104 B fibre-pulled".
#ifndef T740_SIM_AGENT_EVENT_SCHEDULE_H
#define T740_SIM_AGENT_EVENT_SCHEDULE_H

#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "sim/line_event.h"
#include "sim/simulated_card.h"

namespace t740::sim {

struct ScheduledEvent {
  LineEvent event;
  SimulatedCard* card;
};

class EventSchedule {
 public:
  // Times count from now; `events` in time order. `changed` is called
  // with each event's card once the event is applied.
  EventSchedule(std::vector<ScheduledEvent> events, std::ostream& log,
                std::function<void(SimulatedCard&)> changed = {});
  // Stops at once; events still to come are not applied.
  ~EventSchedule();
  EventSchedule(const EventSchedule&) = delete;
  EventSchedule& operator=(const EventSchedule&) = delete;

 private:
  void Run();

  const std::vector<ScheduledEvent> events_;
  std::ostream& log_;
  const std::function<void(SimulatedCard&)> changed_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

// "+5s", or "+1500ms" for a time between whole seconds.
std::string EventTimeText(int64_t milliseconds);

}  // namespace t740::sim

#endif
