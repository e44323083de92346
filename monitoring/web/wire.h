// How a guarded connection moves its bytes: straight over its socket or
// through TLS. A transfer never blocks; one that must wait says for what,
// and the caller waits for it by a deadline of its own.
#ifndef T740_MONITORING_WEB_WIRE_H
#define T740_MONITORING_WEB_WIRE_H

#include <sys/types.h>

#include <chrono>
#include <cstddef>

namespace t740::monitoring {

struct Transfer {
  ssize_t bytes;  // moved; 0 when the peer has ended, -1 when none moved
  short waitFor;  // POLLIN or POLLOUT: try again once the socket is ready
};

class Wire {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Wire(int socket) : socket_(socket) {}
  virtual ~Wire() = default;
  Wire(const Wire&) = delete;
  Wire& operator=(const Wire&) = delete;

  int Socket() const { return socket_; }
  // Whether the socket becomes ready for `events` before `deadline`.
  bool Await(short events, Clock::time_point deadline) const;
  // Whether the client has hung up (or its socket failed); never waits.
  bool PeerGone() const;

  virtual Transfer Receive(char* bytes, size_t size) = 0;
  virtual Transfer Send(const char* bytes, size_t size) = 0;
  // Bytes received and not yet read, which no poll of the socket shows.
  virtual bool Holding() const { return false; }

 private:
  const int socket_;
};

// Reads ahead into a buffer of its own: the library reads a request's head
// a byte at a time, which would otherwise cost a system call a byte.
class PlainWire : public Wire {
 public:
  using Wire::Wire;
  Transfer Receive(char* bytes, size_t size) override;
  Transfer Send(const char* bytes, size_t size) override;
  bool Holding() const override { return start_ < end_; }

 private:
  char buffer_[4096];
  size_t start_ = 0;
  size_t end_ = 0;
};

}  // namespace t740::monitoring

#endif
