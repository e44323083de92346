// "--sim-fault KIND[:TARGET]": the misbehaviour asked of the simulated card.
#ifndef T740_HOSTING_TRANSPORT_SIM_FAULT_OPTION_H
#define T740_HOSTING_TRANSPORT_SIM_FAULT_OPTION_H

#include <string>

#include "sim/fault.h"

namespace t740::host {

// KIND is a fault name, "delay" optionally with its time ("delay=60000",
// milliseconds); TARGET a group suffix (".11") or a status text (alarm,
// led, performance). Throws UsageError naming the option.
sim::Fault ParseSimFault(const std::string& text);

}  // namespace t740::host

#endif
