// Sleeping goes through this seam so that tests can run the card's pauses
// without waiting for them.
#ifndef T740_BOUNDARY_PAUSE_H
#define T740_BOUNDARY_PAUSE_H

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

// A run of pauses that together last as long as their lengths add up to:
// each one sleeps to a deadline, and what one overslept comes off the next,
// so a hundred 1 ms pauses take 100 ms and not the sum of every wake-up's
// lateness. The time between the pauses is not counted.
class PauseRun {
 public:
  explicit PauseRun(Pause& pause) : pause_(pause) {}
  void Sleep(int milliseconds);

 private:
  Pause& pause_;
  Pause::Clock::duration overslept_{};
};

}  // namespace t740

#endif
