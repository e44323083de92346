// A pause that records like RecordingPause and holds the worker on every
// sleep of one length until the test opens `release`; `reached` opens when
// the first such sleep begins. Lets a test act at a known point of a worker
// thread (e.g. while the progress dialog is surely still open). Going
// away, it waits for the workers that may still be finishing a pause on it.
#ifndef T740_TESTS_SUPPORT_HELD_PAUSE_H
#define T740_TESTS_SUPPORT_HELD_PAUSE_H

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "core/card/card_app.h"
#include "core/card/pause.h"
#include "support/gate.h"

namespace t740::test {

class HeldPause : public Pause {
 public:
  explicit HeldPause(int heldMilliseconds) : held_(heldMilliseconds) {}
  ~HeldPause() override {
    release.Open();
    CCardApp::Instance().Workers().JoinAll();
  }
  void Sleep(int milliseconds) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      sleeps_.push_back(milliseconds);
    }
    if (milliseconds == held_) {
      reached.Open();
      EXPECT_TRUE(release.Wait()) << "the held pause was never released";
    }
  }
  std::vector<int> Sleeps() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sleeps_;
  }

  Gate reached;
  Gate release;

 private:
  int held_;
  std::mutex mutex_;
  std::vector<int> sleeps_;
};

}  // namespace t740::test

#endif
