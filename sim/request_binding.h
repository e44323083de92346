// The host's request function is a plain function pointer without user
// data, so one simulated card at a time is bound to it process-wide.
#ifndef T740_SIM_REQUEST_BINDING_H
#define T740_SIM_REQUEST_BINDING_H

#include "t740/abi.h"

namespace t740::sim {

class SimulatedCard;

// Binds `card` (replacing any card bound before) and returns the function
// that forwards to it. Calls while nothing is bound empty the response.
RequestFunction BindRequestFunction(SimulatedCard& card);
// Unbinds `card` if it is the bound one, after the calls in progress on it
// have returned.
void UnbindRequestFunction(SimulatedCard& card);

}  // namespace t740::sim

#endif
