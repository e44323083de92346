// The loopback page's template, its eight boxes (line loopback LLP and remote
// loopback RLP of each port) and its hidden, disabled buttons.
#ifndef T740_IDS_LOOPBACK_PAGE_IDS_H
#define T740_IDS_LOOPBACK_PAGE_IDS_H

namespace t740::ids::loopback_page {

constexpr int kTemplate = 1012;
constexpr int kLlpA = 1020;
constexpr int kLlpB = 1018;
constexpr int kLlpC = 1021;
constexpr int kLlpD = 1019;
constexpr int kRlpA = 1023;
constexpr int kRlpB = 1022;
constexpr int kRlpC = 1025;
constexpr int kRlpD = 1024;
// In bit order of the loopback byte, bit 7 (LLP port D) first.
constexpr int kBoxes[] = {kLlpD, kLlpC, kLlpB, kLlpA, kRlpD, kRlpC, kRlpB, kRlpA};
constexpr int kHiddenSet = 1004;
constexpr int kHiddenRead = 1005;

}  // namespace t740::ids::loopback_page

#endif
