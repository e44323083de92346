// The threshold pages' templates (first and second port of the pair) and
// their counter clear button.
#ifndef T740_IDS_THRESHOLD_PAGE_IDS_H
#define T740_IDS_THRESHOLD_PAGE_IDS_H

namespace t740::ids::threshold_page {

constexpr int kFirstTemplate = 1027;
constexpr int kSecondTemplate = 1030;
constexpr int kClear = 1004;

}  // namespace t740::ids::threshold_page

#endif
