#include "host/window_session.h"

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
  application_ = std::make_unique<QApplication>(argumentCount, arguments);
  QApplication::setApplicationDisplayName(QStringLiteral("t740-host"));
}

WindowSession::~WindowSession() = default;

}  // namespace t740::host
