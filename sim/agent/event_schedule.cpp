#include "sim/agent/event_schedule.h"

#include <chrono>

namespace t740::sim {

std::string EventTimeText(int64_t milliseconds) {
  if (milliseconds % 1000 == 0) return "+" + std::to_string(milliseconds / 1000) + "s";
  return "+" + std::to_string(milliseconds) + "ms";
}

EventSchedule::EventSchedule(std::vector<ScheduledEvent> events, std::ostream& log,
                             std::function<void(SimulatedCard&)> changed)
    : events_(std::move(events)),
      log_(log),
      changed_(std::move(changed)),
      thread_([this] { Run(); }) {}

EventSchedule::~EventSchedule() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void EventSchedule::Run() {
  const auto start = std::chrono::steady_clock::now();
  for (const ScheduledEvent& scheduled : events_) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      const auto due = start + std::chrono::milliseconds(scheduled.event.atMilliseconds);
      if (wake_.wait_until(lock, due, [this] { return stopping_; })) return;
    }
    scheduled.card->Update([&](CardModel& card) { ApplyLineEvent(scheduled.event, card.State()); });
    if (changed_) changed_(*scheduled.card);
    log_ << "t740-sim: " << EventTimeText(scheduled.event.atMilliseconds) << " "
         << scheduled.event.text << std::endl;
  }
}

}  // namespace t740::sim
