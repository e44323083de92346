// The host's options for an SNMPv3 user, as the command line stores them.
// Names are checked here; pass phrases are read when the transport starts.
#ifndef T740_HOSTING_TRANSPORT_SNMP_V3_OPTIONS_H
#define T740_HOSTING_TRANSPORT_SNMP_V3_OPTIONS_H

#include <string>

#include "hosting/transport/host_options.h"

namespace t740::host {

// Each throws UsageError for an unknown name or an empty value.
void StoreSnmpVersion(HostOptions& options, const std::string& value);
void StoreSnmpUser(HostOptions& options, const std::string& value);
void StoreSnmpSecurityLevel(HostOptions& options, const std::string& value);
void StoreSnmpAuthProtocol(HostOptions& options, const std::string& value);
void StoreSnmpPrivProtocol(HostOptions& options, const std::string& value);
void StoreSnmpAuthPassFile(HostOptions& options, const std::string& value);
void StoreSnmpPrivPassFile(HostOptions& options, const std::string& value);

// Throws UsageError when v3 options come with version 2c, which would
// ignore them.
void CheckSnmpVersionOptions(const SnmpOptions& snmp);

}  // namespace t740::host

#endif
