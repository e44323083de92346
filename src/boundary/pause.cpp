#include "boundary/pause.h"

#include <chrono>
#include <thread>

namespace t740 {
namespace {

class ThreadPause : public Pause {
 public:
  void Sleep(int milliseconds) override {
    if (milliseconds <= 0) {
      std::this_thread::yield();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

Pause& RealPause() {
  static ThreadPause pause;
  return pause;
}

}  // namespace t740
