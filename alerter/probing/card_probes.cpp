#include "alerter/probing/card_probes.h"

namespace t740::alerter {

CardProbes::CardProbes(int workers, Probe probe) : probe_(std::move(probe)) {
  for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

CardProbes::~CardProbes() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  waiting_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void CardProbes::Enqueue(const std::string& key, Slot& slot) {
  slot.queued = true;
  queue_.push_back(key);
  waiting_.notify_one();
}

void CardProbes::Ask(const CardTarget& card, std::optional<AlarmCue> cue) {
  const std::string key = card.Key();
  std::lock_guard<std::mutex> lock(mutex_);
  ++asked_;
  Slot& slot = slots_[key];
  slot.card = card;
  if (cue) slot.cues.push_back(std::move(*cue));
  if (slot.inFlight) {
    slot.again = true;
  } else if (!slot.queued) {
    Enqueue(key, slot);
  }
}

void CardProbes::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    waiting_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::string key = queue_.front();
    queue_.pop_front();
    Slot& slot = slots_[key];
    slot.queued = false;
    slot.inFlight = true;
    const CardTarget card = slot.card;
    std::vector<AlarmCue> cues = std::move(slot.cues);
    slot.cues.clear();
    ++run_;
    lock.unlock();
    probe_(card, std::move(cues));
    lock.lock();
    slot.inFlight = false;
    if (slot.again) {
      slot.again = false;
      Enqueue(key, slot);
    }
  }
}

size_t CardProbes::Waiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

uint64_t CardProbes::Asked() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return asked_;
}

uint64_t CardProbes::Run() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return run_;
}

}  // namespace t740::alerter
