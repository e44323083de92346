// Group ".51": 108 16-bit thresholds, four hex digits each, low byte first.
#ifndef T740_SIM_THRESHOLD_RECORD_H
#define T740_SIM_THRESHOLD_RECORD_H

#include <string>
#include <string_view>

#include "sim/card_state.h"
#include "sim/write_frame.h"

namespace t740::sim {

std::string ThresholdResponse(const CardState& state);
WriteResult ApplyThresholdWrite(CardState& state, std::string_view value);

}  // namespace t740::sim

#endif
