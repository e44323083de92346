// main() of the real-window tests: a private Xvfb, Qt on its xcb platform
// and a Chinese system locale. Without an X server every test skips and says
// why; Qt then runs offscreen only so that the fixtures can be built.
#include <gtest/gtest.h>

#include <QApplication>

#include "x_display.h"
#include "x_server.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  t740::test::XServer server;
  std::string missing = server.Failure();
  if (missing.empty() && !t740::test::HasProgram("xdotool")) {
    missing = "xdotool is not installed (Debian package xdotool)";
  }
  t740::test::SetNoDisplayReason(missing);
  if (missing.empty()) {
    qputenv("DISPLAY", server.Display().c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qputenv("LC_ALL", "zh_CN.UTF-8");
  qunsetenv("LANGUAGE");
  qunsetenv("WAYLAND_DISPLAY");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
