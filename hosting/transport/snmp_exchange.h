// One SNMP exchange with an agent over a session borrowed for it: a GET of
// one or more objects, whose OCTET STRINGs come back, or a SET of one
// object's octets. Each waits no longer than the peer's bound, the time a
// new SNMPv3 session spent discovering the agent's engine included. Any
// thread.
#ifndef T740_HOSTING_TRANSPORT_SNMP_EXCHANGE_H
#define T740_HOSTING_TRANSPORT_SNMP_EXCHANGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "hosting/transport/snmp_sessions.h"

namespace t740::host {

struct SnmpAnswer {
  bool ok = false;
  bool timedOut = false;            // no answer within the bound
  std::vector<std::string> octets;  // a GET's values, in the order asked
  std::string why;                  // when not ok
};

// Every object must come back an OCTET STRING.
SnmpAnswer SnmpGet(SnmpSessions& sessions, const std::vector<std::vector<uint32_t>>& names);
SnmpAnswer SnmpSet(SnmpSessions& sessions, const std::vector<uint32_t>& name,
                   const std::string& octets);

}  // namespace t740::host

#endif
