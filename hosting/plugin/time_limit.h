// The bound on a run. A watchdog thread waits out the limit; then the
// window thread, which looks at Expired() from its event loop, takes over
// the ending (pictures of what is open, then the exit). When that thread is
// stuck inside a request and does not take over within the grace time, the
// watchdog ends the run itself.
#ifndef T740_HOSTING_PLUGIN_TIME_LIMIT_H
#define T740_HOSTING_PLUGIN_TIME_LIMIT_H

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace t740::host {

class TimeLimit {
 public:
  using Clock = std::chrono::steady_clock;

  // `end` runs on the watchdog thread when nobody else ends the run; it
  // learns whether windows were up.
  using Ending = std::function<void(bool windowsUp)>;
  TimeLimit(Clock::duration limit, Clock::duration grace, Ending end);
  // Stops the watchdog; the run ended in time.
  ~TimeLimit();
  TimeLimit(const TimeLimit&) = delete;
  TimeLimit& operator=(const TimeLimit&) = delete;

  bool Expired() const { return expired_; }
  // The window thread takes the ending over; false when the watchdog has.
  bool TakeEnding();
  // Windows that look at Expired() are up: the watchdog gives them the
  // grace time before it ends the run itself.
  void SetWatched(bool watched) { watched_ = watched; }
  bool Watched() const { return watched_; }

 private:
  void Watch(Clock::time_point deadline, Clock::duration grace);
  // True when the watchdog was stopped before `until`.
  bool StoppedBefore(Clock::time_point until);

  Ending end_;
  std::atomic<bool> expired_{false};
  std::atomic<bool> taken_{false};
  std::atomic<bool> watched_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopped_ = false;
  std::thread watchdog_;
};

// "the time limit of 2.5 seconds is up", and what the host waited for.
std::string TimeLimitReport(double seconds, const std::string& waitingFor);

// Flushes both streams and ends the process with status 1, without
// running destructors: the plug-in's threads may still wait on the card.
[[noreturn]] void ExitAfterTimeLimit(std::ostream& out, std::ostream& err);

}  // namespace t740::host

#endif
