#include "monitoring/web/wire.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

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
  return Outcome(recv(Socket(), bytes, size, MSG_DONTWAIT), POLLIN);
}

// A client gone mid-answer ends its connection, never the process.
Transfer PlainWire::Send(const char* bytes, size_t size) {
  return Outcome(send(Socket(), bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT), POLLOUT);
}

}  // namespace t740::monitoring
