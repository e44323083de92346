// Pictures of windows for people to look at, saved under the build
// directory's screenshots/ folder; tests do not compare them.
#ifndef T740_TESTS_SUPPORT_SCREENSHOT_H
#define T740_TESTS_SUPPORT_SCREENSHOT_H

#include <string>
#include <string_view>

class QWidget;

namespace t740::test {

// Saves <build>/screenshots/<name>.png and returns its path, or an empty
// path (and a test failure) when the picture could not be written.
std::string SaveScreenshot(QWidget* widget, std::string_view name);

}  // namespace t740::test

#endif
