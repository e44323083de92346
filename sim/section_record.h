// Group ".12": the section overhead of the four directions, one 120-digit
// block each (A, B, C, D). A read reports what each direction receives
// beside its settings; a write carries the settings only.
#ifndef T740_SIM_SECTION_RECORD_H
#define T740_SIM_SECTION_RECORD_H

#include <string>
#include <string_view>

#include "sim/card_state.h"
#include "sim/write_frame.h"

namespace t740::sim {

constexpr size_t kSectionBlockLength = 120;
constexpr size_t kSectionRecordLength = kPortCount * kSectionBlockLength;

std::string SectionResponse(const CardState& state);
// Takes expected J0, send J0, K1, K2, S1 and Z0 of every direction; the
// received positions and the reserved tail of each block are ignored.
WriteResult ApplySectionWrite(CardState& state, std::string_view value);

}  // namespace t740::sim

#endif
