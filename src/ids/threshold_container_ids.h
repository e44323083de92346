// The threshold container's template, its port tabs and hidden buttons.
#ifndef T740_IDS_THRESHOLD_CONTAINER_IDS_H
#define T740_IDS_THRESHOLD_CONTAINER_IDS_H

namespace t740::ids::threshold_container {

constexpr int kTemplate = 1029;
constexpr int kPortTabs = 1075;
constexpr int kHiddenRead = 1004;
constexpr int kHiddenSet = 1005;

}  // namespace t740::ids::threshold_container

#endif
