#include "alerter/probing/card_probes.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <set>

namespace t740::alerter {
namespace {

constexpr int kAskers = 4;
constexpr int kAsksEach = 250;
constexpr auto kPatience = std::chrono::seconds(30);

CardTarget Card() {
  CardTarget card;
  card.probe = {"127.0.0.2", 0x7f000002, 16100, "0107", ""};
  card.instance = "127.0.0.2:16100";
  return card;
}

AlarmCue Numbered(int number) {
  AlarmCue cue;
  cue.alarm = std::to_string(number);
  return cue;
}

// The probes run and the cues each carried; the first probe held until
// Release().
class HeldProbe {
 public:
  void operator()(const CardTarget&, std::vector<AlarmCue> cues) {
    std::unique_lock<std::mutex> lock(mutex_);
    probes_.push_back(std::move(cues));
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_; });
  }
  bool AwaitProbes(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return probes_.size() >= count; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  std::vector<std::vector<AlarmCue>> Probes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return probes_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::vector<AlarmCue>> probes_;
  bool released_ = false;
};

TEST(CardProbesTest, AsksWhileAProbeIsInFlightMakeOneMoreProbeWithAllTheirCues) {
  HeldProbe held;
  std::vector<std::vector<AlarmCue>> probes;
  {
    CardProbes cardProbes(4, [&](const CardTarget& card, std::vector<AlarmCue> cues) {
      held(card, std::move(cues));
    });
    cardProbes.Ask(Card(), Numbered(0));
    ASSERT_TRUE(held.AwaitProbes(1));
    std::vector<std::thread> askers;
    for (int asker = 0; asker < kAskers; ++asker) {
      askers.emplace_back([&, asker] {
        for (int i = 1; i <= kAsksEach; ++i)
          cardProbes.Ask(Card(), Numbered(asker * kAsksEach + i));
      });
    }
    for (std::thread& asker : askers) asker.join();
    held.Release();
    ASSERT_TRUE(held.AwaitProbes(2));
    probes = held.Probes();
    EXPECT_EQ(cardProbes.Asked(), 1u + kAskers * kAsksEach);
  }
  // The pool is gone: no probe can follow the two.
  probes = held.Probes();
  ASSERT_EQ(probes.size(), 2u);
  EXPECT_EQ(probes[0].size(), 1u);
  std::set<std::string> cues;
  for (const AlarmCue& cue : probes[1]) cues.insert(cue.alarm);
  EXPECT_EQ(cues.size(), static_cast<size_t>(kAskers * kAsksEach));
  EXPECT_EQ(probes[1].size(), cues.size());
  EXPECT_EQ(cues.count("0"), 0u);
}

}  // namespace
}  // namespace t740::alerter
