#include "x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace t740::test {
namespace {

constexpr int kStartMilliseconds = 10000;

// The display number Xvfb writes to -displayfd, or an empty text.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  pollfd waiting{fd, POLLIN, 0};
  while (poll(&waiting, 1, kStartMilliseconds) > 0) {
    char c = 0;
    if (read(fd, &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  return number;
}

}  // namespace

bool HasProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::istringstream directories(path ? path : "");
  for (std::string directory; std::getline(directories, directory, ':');) {
    if (access((directory + "/" + name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

XServer::XServer() {
  Start();
}

XServer::~XServer() {
  Stop();
}

void XServer::Start() {
  if (!HasProgram("Xvfb")) {
    failure_ = "Xvfb is not installed (Debian package xvfb)";
    return;
  }
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    failure_ = "no pipe for Xvfb's display number";
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    close(pipeEnds[0]);
    // The server's start-up chatter is not the tests' output.
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) dup2(quiet, STDERR_FILENO);
    const std::string fd = std::to_string(pipeEnds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  const std::string number = pid_ > 0 ? ReadDisplayNumber(pipeEnds[0]) : std::string();
  close(pipeEnds[0]);
  if (number.empty()) {
    failure_ = "Xvfb did not start";
    Stop();
    return;
  }
  display_ = ":" + number;
}

void XServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  display_.clear();
}

}  // namespace t740::test
