// The card's data groups: identifier suffix, write head, minimum lengths,
// the preset response of a write and the four operator messages. A null
// message means the group has none for that outcome.
#ifndef T740_CORE_CARD_GROUPS_H
#define T740_CORE_CARD_GROUPS_H

#include <cstddef>

namespace t740 {

struct Group {
  const char* suffix;
  const char* setHead;     // null for a group that is only read
  size_t readMinimum;      // whole response, head included
  size_t writeMinimum;     // data after the head
  const char* preset;      // response text before a write
  const char* readShort;   // read response too short
  const char* writeShort;  // write data too short
  const char* writeSuccess;
  const char* writeFailure;
};

enum class GroupId { BasicInfo, Loopback, SectionOverhead, PathOverhead, PerfClear, Thresholds };

const Group& GroupOf(GroupId id);

// The head of every response and write value.
constexpr size_t kHeadLength = 6;

// The path overhead read accepts a shorter response from the Read button
// than at window opening.
constexpr size_t kPathReadMinimumAtOpening = 120;
constexpr size_t kPathReadMinimumFromButton = 60;

}  // namespace t740

#endif
