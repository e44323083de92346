// The path overhead page's template and its drop-down lists. The template
// shares its number with the port list.
#ifndef T740_IDS_PATH_OVERHEAD_IDS_H
#define T740_IDS_PATH_OVERHEAD_IDS_H

namespace t740::ids::path_overhead {

constexpr int kTemplate = 1093;
constexpr int kPort = 1093;
constexpr int kVc4 = 1094;
constexpr int kG1Send = 1095;

}  // namespace t740::ids::path_overhead

#endif
