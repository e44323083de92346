// Probes of the cards the alerter watches, run by a few workers, at most
// one in flight per card: asks for a card already waiting join it, and asks
// while it is in flight leave one more probe to follow, so that a storm of
// notifications for a card makes two probes, not a storm of probes, and the
// last one sees the card's latest state. Any thread.
#ifndef T740_ALERTER_PROBING_CARD_PROBES_H
#define T740_ALERTER_PROBING_CARD_PROBES_H

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "alerter/cards/card_target.h"
#include "alerter/notifications/alarm_cue.h"

namespace t740::alerter {

class CardProbes {
 public:
  // `probe` runs on a worker for each probe, with the cues of the asks it
  // answers.
  using Probe = std::function<void(const CardTarget& card, std::vector<AlarmCue> cues)>;

  CardProbes(int workers, Probe probe);
  // Stops: probes in flight finish, waiting ones are dropped.
  ~CardProbes();
  CardProbes(const CardProbes&) = delete;
  CardProbes& operator=(const CardProbes&) = delete;

  void Ask(const CardTarget& card, std::optional<AlarmCue> cue = std::nullopt);
  // Cards waiting for a worker.
  size_t Waiting() const;
  // Asks made and probes run so far; their difference is what coalescing
  // spared.
  uint64_t Asked() const;
  uint64_t Run() const;

 private:
  struct Slot {
    CardTarget card;
    std::vector<AlarmCue> cues;
    bool queued = false;
    bool inFlight = false;
    bool again = false;
  };

  void Work();
  void Enqueue(const std::string& key, Slot& slot);

  const Probe probe_;
  mutable std::mutex mutex_;
  std::condition_variable waiting_;
  std::map<std::string, Slot> slots_;
  std::deque<std::string> queue_;
  bool stopping_ = false;
  uint64_t asked_ = 0;
  uint64_t run_ = 0;
  std::vector<std::thread> workers_;
};

}  // namespace t740::alerter

#endif
