// A probe's query string: target=ADDRESS[:PORT] (IPv4, SNMP port 161 by
// default), card=CARDADDRESS (2 to 4 digits) and optionally auth=NAME.
#ifndef T740_MONITORING_PROBE_PROBE_QUERY_H
#define T740_MONITORING_PROBE_PROBE_QUERY_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace t740::monitoring {

constexpr int kDefaultSnmpPort = 161;

struct ProbeTarget {
  std::string address;  // dotted IPv4, as given
  uint32_t ipv4;        // in host order
  int port;
  std::string card;
  std::string auth;  // empty: the default auth
};

struct ProbeQuery {
  std::optional<ProbeTarget> target;
  std::string error;  // one line, when there is no target
};

// The parameters as the HTTP server decoded them, a name to each value.
ProbeQuery ParseProbeQuery(const std::multimap<std::string, std::string>& parameters);

// An IPv4 address in dotted decimal, four parts of 0 to 255.
std::optional<uint32_t> ParseIpv4(const std::string& text);

}  // namespace t740::monitoring

#endif
