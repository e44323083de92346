// A private X server (Xvfb) for the real-window tests, on a display number
// the server picks itself, with the keyboard driven through xdotool.
#ifndef T740_TESTS_X11_X_SERVER_H
#define T740_TESTS_X11_X_SERVER_H

#include <sys/types.h>

#include <string>

namespace t740::test {

class XServer {
 public:
  // Starts Xvfb and waits (a few seconds at most) until it takes clients.
  XServer();
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Running() const { return pid_ > 0; }
  // ":N" while running.
  const std::string& Display() const { return display_; }
  // Why the server is not running; empty while it is.
  const std::string& Failure() const { return failure_; }

 private:
  void Start();
  void Stop();

  pid_t pid_ = -1;
  std::string display_;
  std::string failure_;
};

// True when the program is found in PATH.
bool HasProgram(const char* name);

}  // namespace t740::test

#endif
