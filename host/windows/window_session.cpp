#include "host/windows/window_session.h"

#include <QApplication>
#include <cstdlib>

namespace t740::host {
namespace {

int argumentCount = 1;
char programName[] = "t740-host";
char* arguments[] = {programName, nullptr};

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool HasDisplay() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

// A platform chosen as offscreen by the environment is as good as no
// display: nobody can close the windows but the host.
WindowSession::WindowSession(bool wantOffscreen)
    : offscreen_(wantOffscreen || qgetenv("QT_QPA_PLATFORM") == "offscreen" ||
                 (!HasDisplay() && !Set("QT_QPA_PLATFORM"))) {
  if (offscreen_) qputenv("QT_QPA_PLATFORM", "offscreen");
  // No application display name: Qt would append it to every caption of
  // the plug-in's windows ("t740 — t740-host").
  application_ = std::make_unique<QApplication>(argumentCount, arguments);
}

WindowSession::~WindowSession() = default;

}  // namespace t740::host
