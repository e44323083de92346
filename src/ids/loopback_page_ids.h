// The loopback page's template and its hidden, disabled buttons. The eight
// boxes are listed with the loopback record, in bit order.
#ifndef T740_IDS_LOOPBACK_PAGE_IDS_H
#define T740_IDS_LOOPBACK_PAGE_IDS_H

namespace t740::ids::loopback_page {

constexpr int kTemplate = 1012;
constexpr int kHiddenSet = 1004;
constexpr int kHiddenRead = 1005;

}  // namespace t740::ids::loopback_page

#endif
