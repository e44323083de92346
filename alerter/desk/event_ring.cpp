#include "alerter/desk/event_ring.h"

#include <algorithm>

namespace t740::alerter {

void EventRing::Add(const std::vector<LogEntry>& entries) {
  if (entries.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const LogEntry& entry : entries) {
      events_.push_back({++seq_, entry});
      if (events_.size() > capacity_) events_.pop_front();
    }
  }
  added_.notify_all();
}

uint64_t EventRing::Seq() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return seq_;
}

EventPage EventRing::After(uint64_t after) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return PageAfter(after);
}

// A number past the newest is another process's: as stale as one whose
// successors the ring has dropped.
EventPage EventRing::PageAfter(uint64_t after) const {
  EventPage page;
  page.seq = seq_;
  const uint64_t oldest = events_.empty() ? seq_ + 1 : events_.front().seq;
  if (after > seq_ || after + 1 < oldest) {
    page.reset = true;
    return page;
  }
  const auto first = events_.end() - static_cast<std::ptrdiff_t>(seq_ - after);
  page.events.assign(first, events_.end());
  return page;
}

EventPage EventRing::Await(uint64_t after, std::chrono::steady_clock::time_point until,
                           const std::function<bool()>& gone,
                           std::chrono::milliseconds look) const {
  std::unique_lock<std::mutex> lock(mutex_);
  while (Waiting(after) && std::chrono::steady_clock::now() < until && !gone()) {
    const auto wake = std::min(until, std::chrono::steady_clock::now() + look);
    added_.wait_until(lock, wake, [&] { return !Waiting(after); });
  }
  return PageAfter(after);
}

}  // namespace t740::alerter
