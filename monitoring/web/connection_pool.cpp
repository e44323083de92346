#include "monitoring/web/connection_pool.h"

#include <system_error>
#include <thread>

namespace t740::monitoring {
namespace {

thread_local bool refusing = false;

}  // namespace

bool ConnectionPool::Refusing() {
  return refusing;
}

void ConnectionPool::enqueue(std::function<void()> connection) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (open_ < maximum_) {
    Count(+1);
    lock.unlock();
    try {
      return Start(connection);
    } catch (const std::system_error&) {
      // No thread to be had: as if the pool were full.
      lock.lock();
      Count(-1);
    }
  }
  lock.unlock();
  refusing = true;
  connection();
  refusing = false;
}

void ConnectionPool::Start(std::function<void()> connection) {
  std::thread([this, connection = std::move(connection)] {
    connection();
    std::lock_guard<std::mutex> lock(mutex_);
    Count(-1);
    // The pool may go as soon as the lock is let go: nothing after.
    ended_.notify_all();
  }).detach();
}

void ConnectionPool::Count(int change) {
  open_ += change;
  if (opened_) opened_(open_);
}

void ConnectionPool::shutdown() {
  std::unique_lock<std::mutex> lock(mutex_);
  ended_.wait(lock, [this] { return open_ == 0; });
}

}  // namespace t740::monitoring
