// The section overhead record of group ".12": four 120-character blocks,
// one per direction A to D, each with the J0, K1, K2, S1 and Z0 fields.
#ifndef T740_CORE_OVERHEAD_SECTION_RECORD_H
#define T740_CORE_OVERHEAD_SECTION_RECORD_H

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/card/message_sink.h"

namespace t740 {

constexpr size_t kSectionDirectionCount = 4;
constexpr size_t kSectionBlockLength = 120;
constexpr size_t kSectionRecordLength = kSectionDirectionCount * kSectionBlockLength;

// The texts of one direction page, GBK as the edits hold them.
struct SectionDirection {
  std::string j0Received;
  std::string j0Expected;
  std::string j0Send;
  std::string k1Received;
  std::string k1Send;
  std::string k2Received;
  std::string k2Send;
  std::string s1Received;
  std::string s1Send;
  std::string z0Send;
};

using SectionDirections = std::array<SectionDirection, kSectionDirectionCount>;

// "A" to "D".
char DirectionLetter(size_t direction);

// The four directions of a response after its head; fields past the end of
// a short response come out short or empty.
SectionDirections ParseSectionRecord(std::string_view data);

// Validates each direction's editable values by length and appends its
// block before the next direction is validated. At the first bad value the
// operator gets its message and there is no record.
std::optional<std::string> BuildSectionRecord(const SectionDirections& directions,
                                              MessageSink& messages);

}  // namespace t740

#endif
