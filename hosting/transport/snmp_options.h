// The host's options for reaching the card over SNMPv2c, as the command
// line stores them.
#ifndef T740_HOSTING_TRANSPORT_SNMP_OPTIONS_H
#define T740_HOSTING_TRANSPORT_SNMP_OPTIONS_H

#include <string>

#include "hosting/transport/host_options.h"

namespace t740::host {

// --snmp ADDRESS[:PORT]: the agent, and the SNMP transport with it.
void StoreSnmpAgent(HostOptions& options, const std::string& value);
void StoreSnmpReadCommunity(HostOptions& options, const std::string& value);
void StoreSnmpWriteCommunity(HostOptions& options, const std::string& value);
// Milliseconds per try, 1 to 60000.
void StoreSnmpTimeout(HostOptions& options, const std::string& value);
// Tries after the first, 0 to 10.
void StoreSnmpRetries(HostOptions& options, const std::string& value);

}  // namespace t740::host

#endif
