// The server's connections, each on a thread of its own so that a client
// that is slow to ask holds no other client up, at most `maximum` open at
// once. A connection beyond that is refused at once when the server can
// refuse it (Refusing() is true while it runs), else waits for a place.
#ifndef T740_EXPORTER_WEB_CONNECTION_POOL_H
#define T740_EXPORTER_WEB_CONNECTION_POOL_H

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace t740::exporter {

class ConnectionPool : public httplib::TaskQueue {
 public:
  ConnectionPool(int maximum, bool refuses) : maximum_(maximum), refuses_(refuses) {}
  ~ConnectionPool() override { shutdown(); }

  void enqueue(std::function<void()> connection) override;
  // Waits for every connection to end.
  void shutdown() override;

  // True on the thread that runs a connection refused for want of a place.
  static bool Refusing();

 private:
  // Throws std::system_error when no thread can be started.
  void Start(std::function<void()> connection);

  const int maximum_;
  const bool refuses_;
  std::mutex mutex_;
  std::condition_variable ended_;
  std::deque<std::function<void()>> waiting_;
  int open_ = 0;
};

}  // namespace t740::exporter

#endif
