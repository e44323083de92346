// The cards' subtree in the agent: one handler that answers GET and
// GETNEXT from the objects of the shelf behind the address a request came
// to, and runs a SET through the agent's phases: checked in reserve,
// applied in action, undone or committed.
#ifndef T740_SIM_AGENT_CARD_HANDLER_H
#define T740_SIM_AGENT_CARD_HANDLER_H

#include <cstdint>
#include <map>

#include "sim/agent/shelf.h"

namespace t740::sim {

// The shelf of each address the agent listens on (IPv4, host order).
using ShelvesByAddress = std::map<uint32_t, Shelf*>;

// `shelves` must outlive the agent. Call after init_agent, before
// init_snmp.
void RegisterCardHandler(const ShelvesByAddress& shelves);

}  // namespace t740::sim

#endif
