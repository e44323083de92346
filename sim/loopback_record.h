// Group ".11": the loopback byte, LLP D..A in bits 7..4, RLP D..A in 3..0.
#ifndef T740_SIM_LOOPBACK_RECORD_H
#define T740_SIM_LOOPBACK_RECORD_H

#include <string>
#include <string_view>

#include "sim/card_state.h"
#include "sim/write_frame.h"

namespace t740::sim {

std::string LoopbackResponse(const CardState& state);
// Stores the byte of a well-formed value; changes nothing otherwise.
WriteResult ApplyLoopbackWrite(CardState& state, std::string_view value);

}  // namespace t740::sim

#endif
