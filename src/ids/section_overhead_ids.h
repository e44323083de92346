// The section overhead container's template, its direction tabs and hidden
// buttons, and the four direction pages' templates (A to D).
#ifndef T740_IDS_SECTION_OVERHEAD_IDS_H
#define T740_IDS_SECTION_OVERHEAD_IDS_H

namespace t740::ids::section_overhead {

constexpr int kTemplate = 1025;
constexpr int kDirectionTabs = 1047;
constexpr int kHiddenRead = 1076;
constexpr int kHiddenSet = 1008;
constexpr int kDirectionTemplates[] = {1023, 1024, 1091, 1092};

}  // namespace t740::ids::section_overhead

#endif
