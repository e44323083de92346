#include "hosting/plugin/time_limit.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "hosting/errors/host_error.h"

namespace t740::host {

TimeLimit::TimeLimit(Clock::duration limit, Clock::duration grace, Ending end)
    : end_(std::move(end)) {
  const Clock::time_point deadline = Clock::now() + limit;
  watchdog_ = std::thread([this, deadline, grace] { Watch(deadline, grace); });
}

TimeLimit::~TimeLimit() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  wake_.notify_all();
  watchdog_.join();
}

bool TimeLimit::TakeEnding() {
  return !taken_.exchange(true);
}

bool TimeLimit::StoppedBefore(Clock::time_point until) {
  std::unique_lock<std::mutex> lock(mutex_);
  return wake_.wait_until(lock, until, [this] { return stopped_; });
}

void TimeLimit::Watch(Clock::time_point deadline, Clock::duration grace) {
  if (StoppedBefore(deadline)) return;
  expired_ = true;
  if (watched_ && StoppedBefore(Clock::now() + grace)) return;
  if (TakeEnding()) end_(watched_);
}

std::string TimeLimitReport(double seconds, const std::string& waitingFor) {
  std::ostringstream report;
  report << "the time limit of " << seconds << (seconds == 1 ? " second" : " seconds") << " is up";
  if (!waitingFor.empty()) report << "; the host was waiting for " << waitingFor;
  return report.str();
}

void ExitAfterTimeLimit(std::ostream& out, std::ostream& err) {
  out.flush();
  err.flush();
  std::fflush(nullptr);
  std::_Exit(kExitFailure);
}

}  // namespace t740::host
