// The state a card of a simulated network starts in, derived from where it
// sits so that every run shows the same network: the hash of the text
// "<agent address>/<card address>" (32-bit FNV-1a) picks, by its value
// modulo 20, a profile, and by its value divided by 20, modulo 4, the port
// the profile's fault is on:
//
//   0-13 healthy: every fibre in, every trace as expected, no loopback
//   14   fibre pulled (STM-LOS, unavailable seconds)
//   15   the far end sends another trace (RS-TIM)
//   16   line loopback (RLP)
//   17   loopback inside the card (LLP)
//   18-19 errored line: errored blocks, errored and severely errored seconds
//
// A healthy port still counts its pointer justifications. Traces name the
// network element by its agent address: "NE3-0104-A" for port A of card
// 0104 at 127.0.0.3.
#ifndef T740_SIM_CARD_PROFILE_H
#define T740_SIM_CARD_PROFILE_H

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/card_state.h"

namespace t740::sim {

enum class CardProfile { Healthy, FibrePulled, WrongTrace, LineLoopback, InsideLoopback, Errored };

struct CardCondition {
  CardProfile profile;
  int port;  // where the fault is; 0 to 3 (A to D)
};

CardCondition ConditionOfCard(std::string_view agentAddress, std::string_view cardAddress);
// The profile's name as the documentation gives it ("fibre pulled").
std::string_view ProfileName(CardProfile profile);
CardState NetworkCardState(std::string_view agentAddress, std::string_view cardAddress);

// A card of the network has been up this long when the simulator starts:
// long enough to fill the 15-minute history, short enough that a card
// catches up its counters in a millisecond or two at its first request.
constexpr int64_t kNetworkUptimeSeconds = 4 * 60 * 60;

}  // namespace t740::sim

#endif
