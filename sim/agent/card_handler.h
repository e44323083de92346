// The card's subtree in the agent: one handler that answers GET and
// GETNEXT from the card's objects, and runs a SET through the agent's
// phases: checked in reserve, applied in action, undone or committed.
#ifndef T740_SIM_AGENT_CARD_HANDLER_H
#define T740_SIM_AGENT_CARD_HANDLER_H

#include "sim/agent/card_objects.h"

namespace t740::sim {

// `objects` must outlive the agent. Call after init_agent, before
// init_snmp.
void RegisterCardHandler(CardObjects& objects);

}  // namespace t740::sim

#endif
