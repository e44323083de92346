#include "sim/agent/stop_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace t740::sim {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT};

// The signal handler can reach nothing but these.
int pipeEnds[2] = {-1, -1};

void NoteStop(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

StopSignal::StopSignal() {
  if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error("cannot make the stop pipe");
  }
  struct sigaction action {};
  action.sa_handler = NoteStop;
  sigemptyset(&action.sa_mask);
  for (int signal : kStopSignals) {
    if (sigaction(signal, &action, nullptr) != 0) {
      throw std::runtime_error("cannot handle the stop signals");
    }
  }
}

StopSignal::~StopSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kStopSignals) sigaction(signal, &action, nullptr);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

int StopSignal::Descriptor() const {
  return pipeEnds[0];
}

}  // namespace t740::sim
