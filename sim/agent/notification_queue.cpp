#include "sim/agent/notification_queue.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace t740::sim {

NotificationQueue::NotificationQueue() {
  if (pipe2(pipe_, O_NONBLOCK | O_CLOEXEC) != 0) {
    throw std::runtime_error("cannot make the notification queue's pipe");
  }
}

NotificationQueue::~NotificationQueue() {
  close(pipe_[0]);
  close(pipe_[1]);
}

// One byte marks a queue that is not empty; the reader takes it with the
// changes, under the same lock.
void NotificationQueue::Push(std::vector<AlarmChange> changes) {
  if (changes.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  const bool wasEmpty = waiting_.empty();
  waiting_.insert(waiting_.end(), std::make_move_iterator(changes.begin()),
                  std::make_move_iterator(changes.end()));
  if (wasEmpty) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(pipe_[1], &byte, 1);
  }
}

std::vector<AlarmChange> NotificationQueue::TakeAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  char bytes[16];
  while (read(pipe_[0], bytes, sizeof bytes) > 0) {
  }
  std::vector<AlarmChange> taken;
  taken.swap(waiting_);
  return taken;
}

}  // namespace t740::sim
