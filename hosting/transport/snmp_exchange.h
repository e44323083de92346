// One SNMP exchange with an agent over a session borrowed for it: a GET of
// one or more objects, whose OCTET STRINGs come back, or a SET of one
// object's octets. An SNMPv3 exchange first discovers the agent's engine
// when it is not known yet, and again once when the agent no longer knows
// the engine asked for (a card replaced). The discovery's tries come out of
// the exchange's: no exchange makes more tries than its time-out and
// retries allow, and each makes every try they allow. Any thread.
#ifndef T740_HOSTING_TRANSPORT_SNMP_EXCHANGE_H
#define T740_HOSTING_TRANSPORT_SNMP_EXCHANGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "hosting/transport/snmp_sessions.h"

namespace t740::host {

struct SnmpAnswer {
  bool ok = false;
  bool timedOut = false;            // no answer within the tries, discovery included
  std::vector<std::string> octets;  // a GET's values, in the order asked
  std::string why;                  // when not ok
  int requests = 0;                 // messages sent: every try, the discovery's included
};

// Every object must come back an OCTET STRING.
SnmpAnswer SnmpGet(SnmpSessions& sessions, const std::vector<std::vector<uint32_t>>& names,
                   SnmpTries tries);
SnmpAnswer SnmpSet(SnmpSessions& sessions, const std::vector<uint32_t>& name,
                   const std::string& octets, SnmpTries tries);

}  // namespace t740::host

#endif
