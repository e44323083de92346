#include "exporter/web/guarded_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "exporter/web/connection_pool.h"

namespace t740::exporter {
namespace {

constexpr char kBusy[] =
    "HTTP/1.1 503 Service Unavailable\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "Content-Length: 38\r\n"
    "Connection: close\r\n"
    "\r\n"
    "too many connections: try again later\n";

void Close(int sock) {
  shutdown(sock, SHUT_RDWR);
  close(sock);
}

// How often a connection waiting for its next request looks whether the
// server is stopping.
constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

bool GuardedServer::Serving() const {
  return svr_sock_ != INVALID_SOCKET;
}

// Whether the next request begins within the keep-alive time; a stop ends
// the wait early.
bool GuardedServer::Arrives(socket_t sock) const {
  const auto deadline = GuardedStream::Clock::now() + bounds_.keepAlive;
  while (Serving() && GuardedStream::Clock::now() < deadline) {
    pollfd watched{sock, POLLIN, 0};
    const int ready = poll(&watched, 1, static_cast<int>(kStopCheck.count()));
    if (ready != 0) return ready > 0;
  }
  return false;
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
  if (ConnectionPool::Refusing()) {
    // The answer fits any fresh socket's buffer: never wait to send it.
    send(sock, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    Close(sock);
    refused_();
    return false;
  }
  bool served = true;
  auto arrival = GuardedStream::Clock::now();
  for (int left = bounds_.requests; left > 0 && served && Serving(); --left) {
    GuardedStream stream(sock, bounds_.stream, arrival);
    const CurrentStream current(stream);
    bool closed = false;
    served = process_request(stream, left == 1, closed, [](httplib::Request&) {}) && !closed &&
             !stream.Spent();
    if (!served || !Arrives(sock)) break;
    arrival = GuardedStream::Clock::now();
  }
  Close(sock);
  return served;
}

}  // namespace t740::exporter
