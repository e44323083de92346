// --allow-target CIDR (repeatable): the IPv4 networks whose cards may be
// probed. Without any, every address may be.
#ifndef T740_MONITORING_PROBE_TARGET_ALLOW_LIST_H
#define T740_MONITORING_PROBE_TARGET_ALLOW_LIST_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace t740::monitoring {

struct Ipv4Network {
  uint32_t address;
  uint32_t mask;
};

// "10.0.0.0/8", or an address alone (/32); nothing for anything else,
// including host bits set outside the mask.
std::optional<Ipv4Network> ParseCidr(const std::string& text);

class TargetAllowList {
 public:
  void Add(const Ipv4Network& network) { networks_.push_back(network); }
  bool Allows(uint32_t address) const;

 private:
  std::vector<Ipv4Network> networks_;
};

}  // namespace t740::monitoring

#endif
