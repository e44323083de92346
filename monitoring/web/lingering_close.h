// Closing a connection so that its last answer reaches the client: a
// socket closed with bytes still unread sends a reset, which can discard
// the answer in flight. The server's side is shut first, and what the
// client still sends is read and dropped until it hangs up or a short
// bound passes.
#ifndef T740_MONITORING_WEB_LINGERING_CLOSE_H
#define T740_MONITORING_WEB_LINGERING_CLOSE_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace t740::monitoring {

// How long a closing connection waits for the client to hang up.
constexpr std::chrono::milliseconds kLingerTime{1000};

// Lingers on the calling thread, then closes `sock`.
void LingerAndClose(int sock);

// Lingers for connections closed on a thread that must not wait (the one
// that accepts): one thread of its own watches them all. Beyond a bound
// of sockets at once, a socket is closed at once.
class LingeringCloser {
 public:
  LingeringCloser();
  ~LingeringCloser();
  LingeringCloser(const LingeringCloser&) = delete;
  LingeringCloser& operator=(const LingeringCloser&) = delete;

  // Takes `sock`, its answer sent, and closes it in time.
  void Close(int sock);

 private:
  struct Closing {
    int sock;
    std::chrono::steady_clock::time_point until;
  };

  void Watch();
  void Sweep(std::vector<Closing>& watched);

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Closing> arriving_;
  bool ending_ = false;
  std::thread watcher_;
};

}  // namespace t740::monitoring

#endif
