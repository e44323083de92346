// net-snmp's agent embedded as the master agent of a simulated network:
// one UDP port on each agent address, every address with its shelf of
// cards and its own SNMPv3 engine id, the cards' handler, the community
// check, and nothing else (no AgentX, no standard MIB modules, no
// configuration read, no state saved), and the SNMPv3 users given to it.
//
// net-snmp keeps one local engine in a process. Each address's engine id
// is made the local one as a request arrives there, before the library
// decodes it, and every user is made once per engine id, so a manager
// discovers and is answered by the id of the address it asked. The engine
// boots count and time are the process's, the same for every address.
#ifndef T740_SIM_AGENT_MASTER_AGENT_H
#define T740_SIM_AGENT_MASTER_AGENT_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/snmp_sandbox.h"
#include "sim/agent/card_handler.h"
#include "sim/agent/communities.h"
#include "sim/agent/usm_users.h"

namespace t740::sim {

// Who may ask the agent, and its engine's boots.
struct AgentAccess {
  Communities communities;
  bool v2c = true;  // false: no community is granted
  std::vector<UsmUserEntry> users;
  uint32_t engineBoots = 1;  // snmpEngineBoots for this run, 1 or more
};

struct AgentEndpoint {
  std::string address;       // IPv4 in 127.0.0.0/8
  std::string engineIdText;  // the engine id's text (RFC 3411, format 4)
  Shelf* shelf;
};

// A port that cannot be opened on one of the addresses.
class ListenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class MasterAgent {
 public:
  // Starts the agent on `port` of every endpoint's address; port 0 takes
  // one that is free on all of them. Throws ListenError when the port
  // cannot be opened, std::runtime_error for other failures. One per
  // process.
  MasterAgent(const std::vector<AgentEndpoint>& endpoints, const AgentAccess& access,
              uint16_t port);
  ~MasterAgent();
  MasterAgent(const MasterAgent&) = delete;
  MasterAgent& operator=(const MasterAgent&) = delete;

  uint16_t Port() const { return port_; }
  // The engine id of endpoint `index` as hex, e.g. "80001F8804..."
  std::string EngineId(size_t index) const;
  // snmpEngineBoots as the engine counts it.
  unsigned long EngineBoots() const;

  // Answers requests until `stopDescriptor` becomes readable.
  void RunUntilReadable(int stopDescriptor);

 private:
  protocol::SnmpSandbox sandbox_;
  std::string hostsAllow_;
  std::string hostsDeny_;
  ShelvesByAddress shelves_;
  std::vector<std::string> engineIds_;  // hex, per endpoint
  uint16_t port_ = 0;
};

}  // namespace t740::sim

#endif
