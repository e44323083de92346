// The simulated network: one agent per address, each with the management
// IP its cards answer to and a shelf holding the same card addresses. The
// first card of the first agent is the card a lone t740-sim has always
// served (DefaultCardState); every other card starts as its place in the
// network says (NetworkCardState).
#ifndef T740_SIM_AGENT_NETWORK_H
#define T740_SIM_AGENT_NETWORK_H

#include <memory>
#include <string>
#include <vector>

#include "sim/agent/shelf.h"
#include "sim/line_event.h"

namespace t740::sim {

struct NetworkAgent {
  std::string address;       // where it listens, in 127.0.0.0/8
  std::string managementIp;  // its cards' IP address
  Shelf shelf;
};

using Network = std::vector<std::unique_ptr<NetworkAgent>>;

// Agent k (from 0) gets the management IP `firstIp` + k.
Network BuildNetwork(const std::vector<std::string>& addresses, const std::string& firstIp,
                     const std::vector<std::string>& cards);

// The card an event is for, or null when the network has no such agent or
// the agent no such card.
SimulatedCard* CardOfEvent(Network& network, const LineEvent& event);

}  // namespace t740::sim

#endif
