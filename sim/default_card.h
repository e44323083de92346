// The card that the substitute host and the demos talk to by default: a
// card in service with something to show on every page.
//
// Port A is in service with a few errored blocks; port B's fibre is pulled
// (STM-LOS); port C receives the trace of the wrong far end (RS-TIM) and
// loops the line back to it (RLP); port D is looped inside the card (LLP)
// for a test. Every channel carries a named path trace; channel A/VC4-3
// receives the trace of another path.
#ifndef T740_SIM_DEFAULT_CARD_H
#define T740_SIM_DEFAULT_CARD_H

#include <cstdint>

#include "sim/card_model.h"
#include "sim/card_state.h"

namespace t740::sim {

constexpr char kDefaultIp[] = "192.168.1.100";
constexpr char kDefaultCardAddress[] = "0107";
// Long enough that every history record is filled at any hour: any span of
// two days holds two midnights, so both completed days are there.
constexpr int64_t kDefaultUptimeSeconds = 49 * 60 * 60;

CardState DefaultCardState();
CardIdentity DefaultIdentity();

}  // namespace t740::sim

#endif
