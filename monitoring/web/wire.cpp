#include "monitoring/web/wire.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace t740::monitoring {
namespace {

Transfer Outcome(ssize_t moved, short waitFor) {
  if (moved >= 0) return {moved, 0};
  const bool again = errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  return {-1, again ? waitFor : short{0}};
}

}  // namespace

bool Wire::Await(short events, Clock::time_point deadline) const {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd watched{socket_, events, 0};
    const int ready = poll(&watched, 1, static_cast<int>(left));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

bool Wire::PeerGone() const {
  pollfd watched{socket_, POLLRDHUP, 0};
  return poll(&watched, 1, 0) > 0 && (watched.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

Transfer PlainWire::Receive(char* bytes, size_t size) {
  if (!Holding()) {
    const Transfer filled = Outcome(recv(Socket(), buffer_, sizeof buffer_, MSG_DONTWAIT), POLLIN);
    if (filled.bytes <= 0) return filled;
    start_ = 0;
    end_ = static_cast<size_t>(filled.bytes);
  }
  const size_t moved = std::min(size, end_ - start_);
  std::memcpy(bytes, buffer_ + start_, moved);
  start_ += moved;
  return {static_cast<ssize_t>(moved), 0};
}

// A client gone mid-answer ends its connection, never the process.
Transfer PlainWire::Send(const char* bytes, size_t size) {
  return Outcome(send(Socket(), bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT), POLLOUT);
}

}  // namespace t740::monitoring
