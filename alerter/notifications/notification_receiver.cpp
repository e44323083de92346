#include "alerter/notifications/notification_receiver.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace t740::alerter {

NotificationReceiver::NotificationReceiver(const ReceiverSettings& settings, CueCallback onCue)
    : session_(std::make_unique<NotificationSession>(settings, counts_)), onCue_(std::move(onCue)) {
  if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("cannot make the stop pipe");
  thread_ = std::thread(&NotificationReceiver::Run, this);
}

NotificationReceiver::~NotificationReceiver() {
  Stop();
  session_.reset();
  for (int end : stopPipe_) close(end);
}

void NotificationReceiver::Stop() {
  if (!thread_.joinable()) return;
  const char stop = 's';
  while (write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
}

void NotificationReceiver::Run() {
  pollfd watched[] = {{stopPipe_[0], POLLIN, 0}, {session_->Descriptor(), POLLIN, 0}};
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[0].revents != 0) return;
    if (watched[1].revents == 0) continue;
    for (AlarmCue& cue : session_->ReadWaiting()) onCue_(std::move(cue));
  }
}

}  // namespace t740::alerter
