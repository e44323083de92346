#include "sim/agent/agent_addresses.h"

#include <arpa/inet.h>

#include <optional>
#include <set>
#include <sstream>

namespace t740::sim {
namespace {

constexpr uint32_t kLoopbackNetwork = 0x7F000000u;
constexpr uint32_t kLoopbackMask = 0xFF000000u;
constexpr uint32_t kFirstLoopbackHost = kLoopbackNetwork + 1;

bool AllDigits(const std::string& text) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::optional<uint32_t> HostOrder(const std::string& text) {
  in_addr address{};
  if (inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
  return ntohl(address.s_addr);
}

std::string Text(uint32_t hostOrder) {
  in_addr address{htonl(hostOrder)};
  char text[INET_ADDRSTRLEN];
  inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

std::vector<std::string> Counted(const std::string& value) {
  const unsigned long long count = std::stoull(value);
  if (count == 0 || count > kLoopbackHostsMaximum) {
    throw AgentAddressError("'" + value + "': 127.0.0.0/8 holds 1 to " +
                            std::to_string(kLoopbackHostsMaximum) + " agents");
  }
  std::vector<std::string> addresses;
  for (uint32_t i = 0; i < count; ++i) addresses.push_back(Text(kFirstLoopbackHost + i));
  return addresses;
}

std::vector<std::string> Listed(const std::string& value) {
  std::vector<std::string> addresses;
  std::set<uint32_t> seen;
  std::istringstream items(value);
  for (std::string item; std::getline(items, item, ',');) {
    const auto address = HostOrder(item);
    const uint32_t host = address ? *address & ~kLoopbackMask : 0;
    if (!address || (*address & kLoopbackMask) != kLoopbackNetwork || host == 0 ||
        host == ~kLoopbackMask) {
      throw AgentAddressError("'" + item + "' is no host address in 127.0.0.0/8");
    }
    if (!seen.insert(*address).second) throw AgentAddressError(item + " is listed twice");
    addresses.push_back(Text(*address));
  }
  if (addresses.empty() || value.back() == ',') throw AgentAddressError("an address is missing");
  return addresses;
}

}  // namespace

std::vector<std::string> ParseAgentAddresses(const std::string& value) {
  return AllDigits(value) ? Counted(value) : Listed(value);
}

std::string OffsetAddress(const std::string& address, uint32_t offset) {
  const auto start = HostOrder(address);
  if (!start || *start > UINT32_MAX - offset) {
    throw AgentAddressError(address + " leaves no room for " + std::to_string(offset + 1) +
                            " agents");
  }
  return Text(*start + offset);
}

}  // namespace t740::sim
