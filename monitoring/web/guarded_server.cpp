#include "monitoring/web/guarded_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "monitoring/web/connection_pool.h"
#include "monitoring/web/tls_wire.h"

namespace t740::monitoring {
namespace {

constexpr char kBusy[] =
    "HTTP/1.1 503 Service Unavailable\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "Content-Length: 38\r\n"
    "Connection: close\r\n"
    "\r\n"
    "too many connections: try again later\n";

// The library's default also sets SO_REUSEPORT, with which a second
// server on the same port starts without an error and takes a share of the
// connections. The port is this server's alone; SO_REUSEADDR only lets a
// restart bind while the last run's connections linger.
void ListenAlone(socket_t sock) {
  const int yes = 1;
  setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// Bytes already arrived on a connection about to be refused: read now, they
// would turn its close into a reset.
void DropArrived(int sock) {
  char dropped[4096];
  while (recv(sock, dropped, sizeof dropped, MSG_DONTWAIT) > 0) {
  }
}

// How often a connection waiting for its next request looks whether the
// server is stopping.
constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

GuardedServer::GuardedServer(const ConnectionBounds& bounds, std::function<void()> refused,
                             SSL_CTX* tls)
    : bounds_(bounds), refused_(std::move(refused)), tls_(tls) {
  set_socket_options(ListenAlone);
}

GuardedServer::~GuardedServer() {
  if (listening_ >= 0) close(listening_);
}

void GuardedServer::Deepen() {
  ::listen(svr_sock_, kListenBacklog);
  listening_ = dup(svr_sock_);
}

// A listening socket shut down fails its accept, which ends the library's
// loop, whether it runs already or starts later.
void GuardedServer::Halt() {
  halted_ = true;
  if (listening_ >= 0) shutdown(listening_, SHUT_RDWR);
}

bool GuardedServer::Serve() {
  const bool listened = listen_after_bind();
  return listened || halted_;
}

bool GuardedServer::Serving() const {
  return !halted_ && svr_sock_ != INVALID_SOCKET;
}

// Whether the next request begins within the keep-alive time; a stop ends
// the wait early.
bool GuardedServer::Arrives(const Wire& wire) const {
  if (wire.Holding()) return true;
  const auto deadline = GuardedStream::Clock::now() + bounds_.keepAlive;
  while (Serving() && GuardedStream::Clock::now() < deadline) {
    pollfd watched{wire.Socket(), POLLIN, 0};
    const int ready = poll(&watched, 1, static_cast<int>(kStopCheck.count()));
    if (ready != 0) return ready > 0;
  }
  return false;
}

// Over TLS the refusal would need a handshake, which would hold up the
// thread that accepts: the connection is only closed.
void GuardedServer::Refuse(socket_t sock) {
  DropArrived(sock);
  // The answer fits any fresh socket's buffer: never wait to send it.
  if (!tls_) send(sock, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
  refusals_.Close(sock);
  if (refused_) refused_();
}

std::unique_ptr<Wire> GuardedServer::Open(socket_t sock,
                                          GuardedStream::Clock::time_point arrival) const {
  if (!tls_) return std::make_unique<PlainWire>(sock);
  return TlsWire::Accept(tls_, sock, arrival + bounds_.stream.request);
}

bool GuardedServer::Serve(Wire& wire, GuardedStream::Clock::time_point arrival) {
  bool served = true;
  for (int left = bounds_.requests; left > 0 && served && Serving(); --left) {
    GuardedStream stream(wire, bounds_.stream, arrival);
    const CurrentStream current(stream);
    bool closed = false;
    // A request the library refused before it reached the routes (a request
    // line too long, a head it cannot parse) ends the connection too.
    served = process_request(stream, left == 1, closed, [](httplib::Request&) {}) && !closed &&
             !stream.Spent() && stream.Routed();
    if (!served || !Arrives(wire)) break;
    arrival = GuardedStream::Clock::now();
  }
  return served;
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
  if (ConnectionPool::Refusing()) {
    Refuse(sock);
    return false;
  }
  const auto arrival = GuardedStream::Clock::now();
  std::unique_ptr<Wire> wire = Open(sock, arrival);
  const bool served = wire && Serve(*wire, arrival);
  // TLS says its goodbye before the socket goes.
  wire.reset();
  LingerAndClose(sock);
  return served;
}

}  // namespace t740::monitoring
