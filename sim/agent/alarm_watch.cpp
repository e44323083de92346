#include "sim/agent/alarm_watch.h"

#include "sim/status_texts.h"

namespace t740::sim {

void AlarmWatch::Look(SimulatedCard& card) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string now = AlarmStatusText(card.Snapshot());
  std::string& seen = seen_[&card];
  if (now == seen) return;
  queue_.Push(AlarmChanges(card.Identity(), seen, now, card.Now()));
  seen = std::move(now);
}

}  // namespace t740::sim
