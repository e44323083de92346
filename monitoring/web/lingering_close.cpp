#include "monitoring/web/lingering_close.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace t740::monitoring {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kClosingMaximum = 256;
constexpr auto kWatchStep = std::chrono::milliseconds(50);

// Reads what has arrived; true when the client has hung up (or the socket
// failed), so that nothing more is worth waiting for.
bool DrainedToEnd(int sock) {
  char dropped[4096];
  for (;;) {
    const ssize_t got = recv(sock, dropped, sizeof dropped, MSG_DONTWAIT);
    if (got > 0) continue;
    return got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
  }
}

int MillisecondsUntil(Clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return static_cast<int>(std::max<long>(0, left.count()));
}

}  // namespace

void LingerAndClose(int sock) {
  shutdown(sock, SHUT_WR);
  const auto until = Clock::now() + kLingerTime;
  while (!DrainedToEnd(sock) && Clock::now() < until) {
    pollfd watched{sock, POLLIN, 0};
    poll(&watched, 1, MillisecondsUntil(until));
  }
  close(sock);
}

LingeringCloser::LingeringCloser() : watcher_([this] { Watch(); }) {}

LingeringCloser::~LingeringCloser() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  arrived_.notify_one();
  watcher_.join();
  for (const Closing& closing : arriving_) close(closing.sock);
}

void LingeringCloser::Close(int sock) {
  shutdown(sock, SHUT_WR);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (arriving_.size() < kClosingMaximum) {
      arriving_.push_back({sock, Clock::now() + kLingerTime});
      arrived_.notify_one();
      return;
    }
  }
  close(sock);
}

void LingeringCloser::Watch() {
  std::vector<Closing> watched;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (watched.empty()) arrived_.wait(lock, [this] { return ending_ || !arriving_.empty(); });
      if (ending_) break;
      watched.insert(watched.end(), arriving_.begin(), arriving_.end());
      arriving_.clear();
    }
    Sweep(watched);
  }
  for (const Closing& closing : watched) close(closing.sock);
}

// Waits a step for any watched socket to have something, then closes those
// whose client has hung up or whose time is up.
void LingeringCloser::Sweep(std::vector<Closing>& watched) {
  std::vector<pollfd> polled;
  for (const Closing& closing : watched) polled.push_back({closing.sock, POLLIN, 0});
  poll(polled.data(), polled.size(), static_cast<int>(kWatchStep.count()));
  const auto now = Clock::now();
  const auto done = std::remove_if(watched.begin(), watched.end(), [now](const Closing& closing) {
    if (!DrainedToEnd(closing.sock) && now < closing.until) return false;
    close(closing.sock);
    return true;
  });
  watched.erase(done, watched.end());
}

}  // namespace t740::monitoring
