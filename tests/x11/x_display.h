// Whether the real-window tests have an X server, and if not, why.
#ifndef T740_TESTS_X11_X_DISPLAY_H
#define T740_TESTS_X11_X_DISPLAY_H

#include <string>

namespace t740::test {

void SetNoDisplayReason(std::string reason);
// Empty when the tests run on the X server.
const std::string& NoDisplayReason();

}  // namespace t740::test

#endif
