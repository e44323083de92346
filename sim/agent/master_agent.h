// net-snmp's agent embedded as the master agent of one simulated card: one
// UDP port on the loopback address, the card's handler, the community
// check, and nothing else (no AgentX, no standard MIB modules, no
// configuration read, no state saved), and the SNMPv3 users given to it.
#ifndef T740_SIM_AGENT_MASTER_AGENT_H
#define T740_SIM_AGENT_MASTER_AGENT_H

#include <cstdint>
#include <string>

#include "protocol/snmp_sandbox.h"
#include "sim/agent/card_objects.h"
#include "sim/agent/communities.h"
#include "sim/agent/usm_users.h"

namespace t740::sim {

// Who may ask the agent, and how it names its engine.
struct AgentAccess {
  Communities communities;
  bool v2c = true;  // false: no community is granted
  std::vector<UsmUserEntry> users;
  std::string engineIdText;  // the engine id's text (RFC 3411, format 4)
  uint32_t engineBoots = 1;  // snmpEngineBoots for this run, 1 or more
};

class MasterAgent {
 public:
  // Starts the agent on 127.0.0.1:`port`; port 0 takes a free one. Throws
  // std::runtime_error when the port cannot be opened. One per process.
  MasterAgent(CardObjects& objects, const AgentAccess& access, uint16_t port);
  ~MasterAgent();
  MasterAgent(const MasterAgent&) = delete;
  MasterAgent& operator=(const MasterAgent&) = delete;

  uint16_t Port() const { return port_; }
  // The engine id as hex, e.g. "80001F8804..."
  std::string EngineId() const;
  // snmpEngineBoots as the engine counts it.
  unsigned long EngineBoots() const;

  // Answers requests until `stopDescriptor` becomes readable.
  void RunUntilReadable(int stopDescriptor);

 private:
  protocol::SnmpSandbox sandbox_;
  std::string hostsAllow_;
  std::string hostsDeny_;
  uint16_t port_ = 0;
};

}  // namespace t740::sim

#endif
