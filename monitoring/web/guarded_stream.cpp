#include "monitoring/web/guarded_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>

namespace t740::monitoring {
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

GuardedStream::GuardedStream(Wire& wire, const StreamBounds& bounds, Clock::time_point arrival)
    : wire_(wire),
      bounds_(bounds),
      requestDeadline_(arrival + bounds.request),
      budget_(bounds.headBytes) {}

void GuardedStream::HeadRead() {
  routed_ = true;
  budget_ = bounds_.bodyBytes;
}

// The request line and the empty line that ends the head are no headers.
size_t GuardedStream::HeaderLines() const {
  return headLineEnds_ > 2 ? headLineEnds_ - 2 : 0;
}

bool GuardedStream::Spent() const {
  return spent_ || ending_;
}

GuardedStream* GuardedStream::Current() {
  return current;
}

template <class Step>
ssize_t GuardedStream::Move(Step transfer, Clock::time_point deadline) {
  for (;;) {
    const Transfer moved = transfer();
    if (moved.waitFor == 0) return moved.bytes;
    if (!wire_.Await(moved.waitFor, deadline)) {
      spent_ = true;
      return -1;
    }
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
  return wire_.Holding() || wire_.Await(POLLIN, requestDeadline_);
}

bool GuardedStream::is_writable() const {
  return wire_.Await(POLLOUT, answering_ ? answerDeadline_ : Clock::now() + bounds_.answer);
}

ssize_t GuardedStream::read(char* bytes, size_t size) {
  if (budget_ == 0 || Clock::now() >= requestDeadline_) {
    spent_ = true;
    return -1;
  }
  const size_t allowed = std::min(size, budget_);
  const ssize_t got = Move([&] { return wire_.Receive(bytes, allowed); }, requestDeadline_);
  if (got <= 0) return got;
  budget_ -= static_cast<size_t>(got);
  if (!routed_) headLineEnds_ += static_cast<size_t>(std::count(bytes, bytes + got, '\n'));
  return got;
}

ssize_t GuardedStream::write(const char* bytes, size_t size) {
  const Clock::time_point deadline = AnswerDeadline();
  size_t sent = 0;
  while (sent < size) {
    const ssize_t wrote = Move([&] { return wire_.Send(bytes + sent, size - sent); }, deadline);
    if (wrote <= 0) return -1;
    sent += static_cast<size_t>(wrote);
  }
  return static_cast<ssize_t>(sent);
}

void GuardedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getpeername(wire_.Socket(), reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    AddressOf(address, ip, port);
  }
}

void GuardedStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(wire_.Socket(), reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    AddressOf(address, ip, port);
  }
}

CurrentStream::CurrentStream(GuardedStream& stream) {
  current = &stream;
}

CurrentStream::~CurrentStream() {
  current = nullptr;
}

}  // namespace t740::monitoring
