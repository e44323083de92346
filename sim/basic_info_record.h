// Group ".1": the four version digits after the head. Read only.
#ifndef T740_SIM_BASIC_INFO_RECORD_H
#define T740_SIM_BASIC_INFO_RECORD_H

#include <string>

#include "sim/card_state.h"

namespace t740::sim {

std::string BasicInfoResponse(const CardState& state);

}  // namespace t740::sim

#endif
