// Group ".13": the higher-order path overhead of one channel (port and VC4).
// Mode "00" selects the channel that the next read reports; mode "01"
// stores the channel's expected and send bytes and selects it too.
#ifndef T740_SIM_PATH_RECORD_H
#define T740_SIM_PATH_RECORD_H

#include <string>
#include <string_view>

#include "sim/card_state.h"
#include "sim/write_frame.h"

namespace t740::sim {

constexpr size_t kPathRecordLength = 116;

std::string PathResponse(const CardState& state);
WriteResult ApplyPathWrite(CardState& state, std::string_view value);

}  // namespace t740::sim

#endif
