// Where the agents of a simulated network listen, all in 127.0.0.0/8 (the
// loopback network on Linux): "--agents 3" is 127.0.0.1 to 127.0.0.3, or an
// explicit list "127.0.0.2,127.0.1.7".
#ifndef T740_SIM_AGENT_AGENT_ADDRESSES_H
#define T740_SIM_AGENT_AGENT_ADDRESSES_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace t740::sim {

// 127.0.0.1 to 127.255.255.254.
constexpr uint32_t kLoopbackHostsMaximum = 16777214;

class AgentAddressError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// A count from 1 or a comma-separated list of host addresses of
// 127.0.0.0/8; throws AgentAddressError for anything else, a count the
// network cannot hold and an address listed twice.
std::vector<std::string> ParseAgentAddresses(const std::string& value);

// The IPv4 address `offset` after `address`; throws AgentAddressError past
// 255.255.255.255.
std::string OffsetAddress(const std::string& address, uint32_t offset);

}  // namespace t740::sim

#endif
