// cpp-httplib's server with each connection served over a GuardedStream,
// plain or through TLS: the request and answer deadlines and the request's
// byte budgets hold whatever the client does (a TLS handshake counts
// against the first request's deadline), idle connections are closed after
// the keep-alive time, and a connection the pool has no place for is
// closed at once, over plain HTTP with a short 503 answer. Every
// connection is closed lingering, so that its last answer arrives.
#ifndef T740_MONITORING_WEB_GUARDED_SERVER_H
#define T740_MONITORING_WEB_GUARDED_SERVER_H

#include <httplib.h>
#include <sys/socket.h>

#include <openssl/ssl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "monitoring/web/guarded_stream.h"
#include "monitoring/web/lingering_close.h"
#include "monitoring/web/wire.h"

namespace t740::monitoring {

struct ConnectionBounds {
  StreamBounds stream;
  std::chrono::milliseconds keepAlive;  // an idle connection's life
  int requests;                         // requests on one connection
};

// cpp-httplib listens with a backlog of 5: a burst of connections beyond
// it loses its SYNs and waits a second or more for each retry.
constexpr int kListenBacklog = 1024;

class GuardedServer : public httplib::Server {
 public:
  // `refused` is told of every connection refused for want of a place; any
  // thread. With `tls`, which must outlive the server, clients speak TLS.
  GuardedServer(const ConnectionBounds& bounds, std::function<void()> refused,
                SSL_CTX* tls = nullptr);
  ~GuardedServer() override;

  // Once bound: the listening socket takes kListenBacklog connections, and
  // Halt() can reach it from now on.
  void Deepen();
  // Serves until halted; false when the listening socket failed instead.
  bool Serve();
  // Ends Serve(), or keeps it from starting; any thread, at any time after
  // Deepen().
  void Halt();

 private:
  bool process_and_close_socket(socket_t sock) override;
  void Refuse(socket_t sock);
  std::unique_ptr<Wire> Open(socket_t sock, GuardedStream::Clock::time_point arrival) const;
  bool Serve(Wire& wire, GuardedStream::Clock::time_point arrival);
  bool Serving() const;
  bool Arrives(const Wire& wire) const;

  const ConnectionBounds bounds_;
  const std::function<void()> refused_;
  SSL_CTX* const tls_;
  LingeringCloser refusals_;
  // A descriptor of the listening socket of the server's own: the library
  // closes its own when accepting fails, and a shutdown through a closed
  // descriptor could reach another socket that took its number.
  int listening_ = -1;
  std::atomic<bool> halted_{false};
};

}  // namespace t740::monitoring

#endif
