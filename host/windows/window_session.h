// The host's user interface for the commands that open the plug-in's
// windows: one QApplication, on Qt's offscreen platform when there is no
// display or when pictures are wanted instead of an operator.
#ifndef T740_HOST_WINDOWS_WINDOW_SESSION_H
#define T740_HOST_WINDOWS_WINDOW_SESSION_H

#include <memory>

#include "host/windows/quiet_platform.h"

class QApplication;

namespace t740::host {

class WindowSession {
 public:
  explicit WindowSession(bool wantOffscreen);
  ~WindowSession();
  WindowSession(const WindowSession&) = delete;
  WindowSession& operator=(const WindowSession&) = delete;

  // True when nobody can see the windows: the host must close them itself.
  bool Offscreen() const { return offscreen_; }

 private:
  bool offscreen_;
  QuietPlatform quiet_;
  std::unique_ptr<QApplication> application_;
};

// A display the windows can appear on (X11 or Wayland).
bool HasDisplay();

}  // namespace t740::host

#endif
