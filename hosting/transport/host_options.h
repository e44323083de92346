// The options every command shares.
#ifndef T740_HOSTING_TRANSPORT_HOST_OPTIONS_H
#define T740_HOSTING_TRANSPORT_HOST_OPTIONS_H

#include <string>
#include <vector>

#include "hosting/transport/snmp_security.h"

namespace t740::host {

// The SNMP transport's agent and how it is asked.
struct SnmpOptions {
  std::string host;  // empty until --snmp names the agent
  int port = 161;
  std::string readCommunity = "public";
  std::string writeCommunity = "private";
  int timeoutMilliseconds = 1000;  // per try
  int retries = 1;
  SnmpVersion version = SnmpVersion::V2c;
  SnmpV3Options v3;  // with version 3
};

struct HostOptions {
  std::string pluginPath;     // empty: installed relative to the host, else by soname
  std::string hostDirectory;  // empty: T740_HOST_DIRECTORY, else the state directory
  std::string ip;
  std::string cardAddress;
  std::string transport;
  std::vector<std::string> simFaults;  // "kind" or "kind:target"
  SnmpOptions snmp;
  double timeLimitSeconds = 0;  // 0: the command's default
  bool trace = false;           // say on the error stream why a request failed
};

HostOptions DefaultHostOptions();

}  // namespace t740::host

#endif
