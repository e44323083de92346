#include "monitoring/probe/target_allow_list.h"

#include "monitoring/probe/probe_query.h"

namespace t740::monitoring {

std::optional<Ipv4Network> ParseCidr(const std::string& text) {
  const size_t slash = text.find('/');
  const std::optional<uint32_t> address = ParseIpv4(text.substr(0, slash));
  if (!address) return std::nullopt;
  int bits = 32;
  if (slash != std::string::npos) {
    const std::string length = text.substr(slash + 1);
    if (length.empty() || length.size() > 2 ||
        length.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    bits = std::stoi(length);
    if (bits > 32) return std::nullopt;
  }
  const uint32_t mask = bits == 0 ? 0 : ~uint32_t{0} << (32 - bits);
  if ((*address & ~mask) != 0) return std::nullopt;
  return Ipv4Network{*address, mask};
}

bool TargetAllowList::Allows(uint32_t address) const {
  if (networks_.empty()) return true;
  for (const Ipv4Network& network : networks_) {
    if ((address & network.mask) == network.address) return true;
  }
  return false;
}

}  // namespace t740::monitoring
