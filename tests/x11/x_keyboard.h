// Real key presses through the X server (XTEST, by xdotool): they reach the
// window that has the X input focus, as an operator's keyboard would.
#ifndef T740_TESTS_X11_X_KEYBOARD_H
#define T740_TESTS_X11_X_KEYBOARD_H

#include <initializer_list>
#include <string>
#include <vector>

class QWidget;

namespace t740::test {

// xdotool key names: "ctrl+Tab", "Return", "space", "F2".
void PressKeys(std::initializer_list<std::string> keys);
void PressKey(const std::string& key, int times);
void TypeText(const std::string& text);

// The window's title as the X server holds it (_NET_WM_NAME).
std::string XWindowName(QWidget* window);

}  // namespace t740::test

#endif
