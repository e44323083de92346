// One connection's wire as cpp-httplib reads and writes it, with bounds
// the library's per-read time-outs lack: a request must arrive whole by a
// deadline and within a byte budget (the head's budget first, the body's
// once the head is read), and an answer must leave whole by a deadline of
// its own, however slowly a client trickles its bytes.
#ifndef T740_MONITORING_WEB_GUARDED_STREAM_H
#define T740_MONITORING_WEB_GUARDED_STREAM_H

#include <httplib.h>

#include <chrono>

#include "monitoring/web/wire.h"

namespace t740::monitoring {

struct StreamBounds {
  std::chrono::milliseconds request;  // for the whole request to arrive
  std::chrono::milliseconds answer;   // for the whole answer to leave
  size_t headBytes;                   // request line and headers
  size_t bodyBytes;                   // the body and its framing
};

class GuardedStream : public httplib::Stream {
 public:
  using Clock = Wire::Clock;

  // `arrival` is when the request's time began.
  GuardedStream(Wire& wire, const StreamBounds& bounds, Clock::time_point arrival);

  // The head has been read and the request reached the routes: the body's
  // budget applies from here on.
  void HeadRead();
  bool Routed() const { return routed_; }
  // Header lines the client sent, counted as the head was read.
  size_t HeaderLines() const;
  // Whether the client has hung up; never waits.
  bool ClientGone() const { return wire_.PeerGone(); }
  // The connection ends after this request's answer.
  void EndAfterAnswer() { ending_ = true; }
  // A bound was hit, or the answer ends the connection: it can serve no
  // further request.
  bool Spent() const;
  // The stream of the request the calling thread serves, or none.
  static GuardedStream* Current();

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* bytes, size_t size) override;
  ssize_t write(const char* bytes, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return wire_.Socket(); }

 private:
  // Repeats `transfer` until it moves bytes or fails, waiting by `deadline`
  // for what it asks; a deadline that passes spends the stream.
  template <class Step>
  ssize_t Move(Step transfer, Clock::time_point deadline);
  Clock::time_point AnswerDeadline();

  Wire& wire_;
  const StreamBounds bounds_;
  const Clock::time_point requestDeadline_;
  Clock::time_point answerDeadline_{};
  bool answering_ = false;
  size_t budget_;
  bool spent_ = false;
  bool routed_ = false;
  bool ending_ = false;
  size_t headLineEnds_ = 0;
};

// Makes `stream` the calling thread's Current() for its life.
class CurrentStream {
 public:
  explicit CurrentStream(GuardedStream& stream);
  ~CurrentStream();
  CurrentStream(const CurrentStream&) = delete;
  CurrentStream& operator=(const CurrentStream&) = delete;
};

}  // namespace t740::monitoring

#endif
