// The server's connections, each on a thread of its own so that a client
// that is slow to ask holds no other client up, at most `maximum` open at
// once. A connection beyond that is refused at once: it runs on the
// accepting thread with Refusing() true.
#ifndef T740_MONITORING_WEB_CONNECTION_POOL_H
#define T740_MONITORING_WEB_CONNECTION_POOL_H

#include <httplib.h>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace t740::monitoring {

class ConnectionPool : public httplib::TaskQueue {
 public:
  // `opened` is told how many are open whenever that changes; any thread.
  ConnectionPool(int maximum, std::function<void(int)> opened)
      : maximum_(maximum), opened_(std::move(opened)) {}
  ~ConnectionPool() override { shutdown(); }

  void enqueue(std::function<void()> connection) override;
  // Waits for every connection to end.
  void shutdown() override;

  // True on the thread that runs a connection refused for want of a place.
  static bool Refusing();

 private:
  // Throws std::system_error when no thread can be started.
  void Start(std::function<void()> connection);
  // Under the lock.
  void Count(int change);

  const int maximum_;
  const std::function<void(int)> opened_;
  std::mutex mutex_;
  std::condition_variable ended_;
  int open_ = 0;
};

}  // namespace t740::monitoring

#endif
