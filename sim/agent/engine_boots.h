// The agent's snmpEngineBoots, one more at every start of the agent. A
// manager's SNMPv3 requests carry the boots and time it last heard from the
// engine; after a restart the higher count puts them outside the time
// window, so a request recorded before the restart cannot be played again,
// and the manager takes the new count from the agent's report and resends.
// net-snmp would keep the count in its persistent state, which the agent
// does not load or save; this keeps it instead.
#ifndef T740_SIM_AGENT_ENGINE_BOOTS_H
#define T740_SIM_AGENT_ENGINE_BOOTS_H

#include <cstdint>
#include <ctime>
#include <string>

namespace t740::sim {

// RFC 3414, 2.2.2: the count stays here once it gets here.
constexpr uint32_t kEngineBootsMaximum = 2147483647;

// The file in a state directory that holds the last count.
constexpr char kEngineBootsFile[] = "engine-boots";

// The count stored in `directory` plus one (1 when nothing is stored yet),
// stored back before the agent answers anything: written to a temporary
// file and renamed over the old one, so it is never half-written. Makes the
// directory when it is missing. Throws std::runtime_error, naming the path,
// when the directory cannot be made or written or the file holds no count.
uint32_t NextStoredEngineBoots(const std::string& directory);

// Without a state directory: the seconds from 2020-01-01 UTC to `now` on
// the wall clock (1 before then), so that a start a second or more after
// the last one counts higher.
uint32_t ClockEngineBoots(std::time_t now);

}  // namespace t740::sim

#endif
