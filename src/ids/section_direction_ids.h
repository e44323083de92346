// The controls of a section overhead direction page; the four directions'
// templates share them.
#ifndef T740_IDS_SECTION_DIRECTION_IDS_H
#define T740_IDS_SECTION_DIRECTION_IDS_H

namespace t740::ids::section_direction {

constexpr int kJ0Received = 1027;
constexpr int kK1Received = 1028;
constexpr int kK2Received = 1029;
constexpr int kS1Received = 1030;
constexpr int kJ0Expected = 1031;
constexpr int kJ0Send = 1032;
constexpr int kK1Send = 1033;
constexpr int kK2Send = 1034;
constexpr int kS1Send = 1035;
constexpr int kZ0Send = 1036;

}  // namespace t740::ids::section_direction

#endif
