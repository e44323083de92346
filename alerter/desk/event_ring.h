// The desk's changes for the page's long poll: the last few thousand log
// entries, each numbered by a sequence rising from 1 for the process's
// life. A page that asks after a number the ring no longer holds (or never
// held: the alerter restarted) is told to reload its lists instead. Any
// thread.
#ifndef T740_ALERTER_DESK_EVENT_RING_H
#define T740_ALERTER_DESK_EVENT_RING_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "alerter/history/log_entry.h"

namespace t740::alerter {

constexpr size_t kEventRingSize = 4096;

struct DeskEvent {
  uint64_t seq = 0;
  LogEntry entry;
};

struct EventPage {
  uint64_t seq = 0;    // the newest event's number
  bool reset = false;  // the events asked for are gone: reload
  std::vector<DeskEvent> events;
};

class EventRing {
 public:
  explicit EventRing(size_t capacity = kEventRingSize) : capacity_(capacity) {}

  void Add(const std::vector<LogEntry>& entries);
  uint64_t Seq() const;
  // The events after `after`, at once.
  EventPage After(uint64_t after) const;
  // As After, but waits until there is one, `until`, or `gone` says the
  // asker left; `gone` is asked every `look`.
  EventPage Await(uint64_t after, std::chrono::steady_clock::time_point until,
                  const std::function<bool()>& gone,
                  std::chrono::milliseconds look = std::chrono::milliseconds(250)) const;

 private:
  EventPage PageAfter(uint64_t after) const;  // under mutex_
  bool Waiting(uint64_t after) const { return after == seq_; }

  const size_t capacity_;
  mutable std::mutex mutex_;
  mutable std::condition_variable added_;
  std::deque<DeskEvent> events_;
  uint64_t seq_ = 0;
};

}  // namespace t740::alerter

#endif
