#include "exporter/web/guarded_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace t740::exporter {
namespace {

thread_local GuardedStream* current = nullptr;

void AddressOf(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = "";
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

}  // namespace

GuardedStream::GuardedStream(int socket, const StreamBounds& bounds, Clock::time_point arrival)
    : socket_(socket),
      bounds_(bounds),
      requestDeadline_(arrival + bounds.request),
      budget_(bounds.headBytes) {}

void GuardedStream::HeadRead() {
  budget_ = bounds_.bodyBytes;
}

bool GuardedStream::Spent() const {
  return spent_;
}

GuardedStream* GuardedStream::Current() {
  return current;
}

bool GuardedStream::Wait(short events, Clock::time_point deadline) const {
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

GuardedStream::Clock::time_point GuardedStream::AnswerDeadline() {
  if (!answering_) {
    answering_ = true;
    answerDeadline_ = Clock::now() + bounds_.answer;
  }
  return answerDeadline_;
}

bool GuardedStream::is_readable() const {
  return Wait(POLLIN, requestDeadline_);
}

bool GuardedStream::is_writable() const {
  return Wait(POLLOUT, answering_ ? answerDeadline_ : Clock::now() + bounds_.answer);
}

ssize_t GuardedStream::read(char* bytes, size_t size) {
  if (budget_ == 0 || !Wait(POLLIN, requestDeadline_)) {
    spent_ = true;
    return -1;
  }
  const ssize_t got = recv(socket_, bytes, std::min(size, budget_), 0);
  if (got > 0) budget_ -= static_cast<size_t>(got);
  return got;
}

ssize_t GuardedStream::write(const char* bytes, size_t size) {
  size_t sent = 0;
  const Clock::time_point deadline = AnswerDeadline();
  while (sent < size) {
    if (!Wait(POLLOUT, deadline)) {
      spent_ = true;
      return -1;
    }
    const ssize_t wrote = send(socket_, bytes + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (wrote < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (wrote <= 0) return -1;
    sent += static_cast<size_t>(wrote);
  }
  return static_cast<ssize_t>(sent);
}

void GuardedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    AddressOf(address, ip, port);
  }
}

void GuardedStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    AddressOf(address, ip, port);
  }
}

CurrentStream::CurrentStream(GuardedStream& stream) {
  current = &stream;
}

CurrentStream::~CurrentStream() {
  current = nullptr;
}

}  // namespace t740::exporter
