// The threshold window's name and buttons, numbered as the configuration
// window's.
#ifndef T740_IDS_THRESHOLD_WINDOW_IDS_H
#define T740_IDS_THRESHOLD_WINDOW_IDS_H

namespace t740::ids::threshold_window {

constexpr char kName[] = "ThresholdWindow";
constexpr int kRead = 1005;
constexpr int kSet = 1004;
constexpr int kExit = 1010;

}  // namespace t740::ids::threshold_window

#endif
