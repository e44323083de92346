// A run of pauses keeps to the schedule that its lengths give, and the
// workers that finish a last pause are joined, not lost.
#include "core/card/pause.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "core/card/ending_workers.h"

namespace t740::test {
namespace {

using namespace std::chrono_literals;

class DeadlinePause : public Pause {
 public:
  void Sleep(int) override { ADD_FAILURE() << "a run sleeps to deadlines"; }
  void SleepUntil(Clock::time_point deadline, int milliseconds) override {
    deadlines.push_back(deadline);
    lengths.push_back(milliseconds);
  }
  std::vector<Clock::time_point> deadlines;
  std::vector<int> lengths;
};

TEST(PauseRun, EachDeadlineLiesItsLengthAfterThePreviousOneWhateverCameBetween) {
  DeadlinePause pause;
  const Pause::Clock::time_point before = Pause::Clock::now();
  PauseRun run(pause);
  run.Sleep(200);
  std::this_thread::sleep_for(3ms);  // a step between the pauses
  run.Sleep(1);
  run.Sleep(0);
  run.Sleep(1);
  ASSERT_EQ(pause.deadlines.size(), 4u);
  EXPECT_GE(pause.deadlines[0], before + 200ms);
  EXPECT_LE(pause.deadlines[0], Pause::Clock::now() + 200ms - 3ms);
  EXPECT_EQ(pause.deadlines[1] - pause.deadlines[0], 1ms);
  EXPECT_EQ(pause.deadlines[2], pause.deadlines[1]);
  EXPECT_EQ(pause.deadlines[3] - pause.deadlines[2], 1ms);
  EXPECT_EQ(pause.lengths, (std::vector<int>{200, 1, 0, 1}));
}

TEST(PauseRun, ARestartCountsTheNextPauseFromThen) {
  DeadlinePause pause;
  PauseRun run(pause);
  run.Sleep(1);
  std::this_thread::sleep_for(5ms);  // the host's time
  const Pause::Clock::time_point restarted = Pause::Clock::now();
  run.Restart();
  run.Sleep(1);
  ASSERT_EQ(pause.deadlines.size(), 2u);
  EXPECT_GE(pause.deadlines[1], restarted + 1ms);
  EXPECT_GE(pause.deadlines[1] - pause.deadlines[0], 5ms);
}

TEST(PauseRun, TheRealPauseEndsAtItsDeadline) {
  PauseRun run(RealPause());
  const Pause::Clock::time_point start = Pause::Clock::now();
  for (int i = 0; i < 20; ++i) run.Sleep(1);
  EXPECT_GE(Pause::Clock::now() - start, 20ms);
}

TEST(EndingWorkers, JoinAllWaitsForEveryAdoptedWorker) {
  EndingWorkers workers;
  std::atomic<int> finished{0};
  for (int i = 0; i < 3; ++i) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers.Adopt(std::thread([&finished, done] {
                    std::this_thread::sleep_for(2ms);
                    ++finished;
                    *done = true;
                  }),
                  done);
  }
  workers.JoinAll();
  EXPECT_EQ(finished.load(), 3);
}

}  // namespace
}  // namespace t740::test
