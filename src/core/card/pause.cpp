#include "core/card/pause.h"

#include <thread>

namespace t740 {
namespace {

class ThreadPause : public Pause {
 public:
  void Sleep(int milliseconds) override {
    SleepUntil(Clock::now() + std::chrono::milliseconds(milliseconds), milliseconds);
  }
  // Zero milliseconds, or a deadline already past, gives up the rest of the
  // time slice.
  void SleepUntil(Clock::time_point deadline, int) override {
    if (deadline <= Clock::now()) {
      std::this_thread::yield();
      return;
    }
    std::this_thread::sleep_until(deadline);
  }
};

}  // namespace

void Pause::SleepUntil(Clock::time_point, int milliseconds) {
  Sleep(milliseconds);
}

Pause& RealPause() {
  static ThreadPause pause;
  return pause;
}

void PauseRun::Sleep(int milliseconds) {
  deadline_ += std::chrono::milliseconds(milliseconds);
  pause_.SleepUntil(deadline_, milliseconds);
}

}  // namespace t740
