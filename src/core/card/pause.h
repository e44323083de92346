// Sleeping goes through this seam so that tests can run the card's pauses
// without waiting for them.
#ifndef T740_CORE_CARD_PAUSE_H
#define T740_CORE_CARD_PAUSE_H

#include <chrono>

namespace t740 {

class Pause {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~Pause() = default;
  virtual void Sleep(int milliseconds) = 0;
  // A pause of `milliseconds` that ends at `deadline`; a pause that does not
  // keep time (a test's) sees only the length.
  virtual void SleepUntil(Clock::time_point deadline, int milliseconds);
};

// Sleeps for real; the default of every card object.
Pause& RealPause();

// A run of pauses that ends when the lengths added up say: each pause
// sleeps to a deadline its length after the previous one's, so neither a
// wake-up's lateness nor the short steps between the pauses (a worker's
// synchronous moves of a progress bar) add up over a hundred pauses. After
// a step that is not the run's own, such as a call into the host, Restart
// lets the next pause count from then.
class PauseRun {
 public:
  explicit PauseRun(Pause& pause) : pause_(pause), deadline_(Pause::Clock::now()) {}
  void Sleep(int milliseconds);
  void Restart() { deadline_ = Pause::Clock::now(); }

 private:
  Pause& pause_;
  Pause::Clock::time_point deadline_;
};

}  // namespace t740

#endif
