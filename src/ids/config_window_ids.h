// The configuration window's template and controls, by role. Object names
// are these numbers as decimal text.
#ifndef T740_IDS_CONFIG_WINDOW_IDS_H
#define T740_IDS_CONFIG_WINDOW_IDS_H

namespace t740::ids::config_window {

constexpr int kTemplate = 1000;
constexpr int kTabs = 1006;
constexpr int kRead = 1005;
constexpr int kSet = 1004;
constexpr int kExit = 1010;

}  // namespace t740::ids::config_window

#endif
