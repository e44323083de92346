// The path overhead page's template, its drop-down lists and its edits. The
// template shares its number with the port list.
#ifndef T740_IDS_PATH_OVERHEAD_IDS_H
#define T740_IDS_PATH_OVERHEAD_IDS_H

namespace t740::ids::path_overhead {

constexpr int kTemplate = 1093;
constexpr int kPort = 1093;
constexpr int kVc4 = 1094;
constexpr int kG1Send = 1095;
constexpr int kJ1Received = 1037;
constexpr int kC2Received = 1038;
constexpr int kJ1Expected = 1041;
constexpr int kC2Expected = 1046;
constexpr int kJ1Send = 1042;
constexpr int kC2Send = 1043;
constexpr int kK3Send = 1044;
constexpr int kN1Send = 1045;

}  // namespace t740::ids::path_overhead

#endif
