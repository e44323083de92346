// cpp-httplib's plain HTTP server with each connection served over a
// GuardedStream: the request and answer deadlines and the request's byte
// budgets hold whatever the client does, idle connections are closed after
// the keep-alive time, and a connection the pool has no place for gets a
// short 503 answer and is closed.
#ifndef T740_EXPORTER_WEB_GUARDED_SERVER_H
#define T740_EXPORTER_WEB_GUARDED_SERVER_H

#include <httplib.h>
#include <sys/socket.h>

#include <chrono>
#include <functional>

#include "exporter/web/guarded_stream.h"

namespace t740::exporter {

struct ConnectionBounds {
  StreamBounds stream;
  std::chrono::milliseconds keepAlive;  // an idle connection's life
  int requests;                         // requests on one connection
};

// cpp-httplib listens with a backlog of 5: a burst of connections beyond
// it loses its SYNs and waits a second or more for each retry.
constexpr int kListenBacklog = 1024;

// A server whose listening socket takes kListenBacklog connections.
template <class Base>
class DeepServer : public Base {
 public:
  using Base::Base;
  // Once bound.
  void Deepen() { ::listen(this->svr_sock_, kListenBacklog); }
};

class GuardedServer : public DeepServer<httplib::Server> {
 public:
  // `refused` is told of every connection answered 503; any thread.
  GuardedServer(const ConnectionBounds& bounds, std::function<void()> refused)
      : bounds_(bounds), refused_(std::move(refused)) {}

 private:
  bool process_and_close_socket(socket_t sock) override;
  bool Serving() const;
  bool Arrives(socket_t sock) const;

  const ConnectionBounds bounds_;
  const std::function<void()> refused_;
};

}  // namespace t740::exporter

#endif
