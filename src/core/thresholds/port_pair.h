// The threshold container shows one port pair, A/B or C/D, chosen by the
// card address.
#ifndef T740_CORE_THRESHOLDS_PORT_PAIR_H
#define T740_CORE_THRESHOLDS_PORT_PAIR_H

#include <string>
#include <string_view>

namespace t740 {

struct PortPair {
  const char* firstTab;      // GBK, "A光口" or "C光口"
  const char* secondTab;     // "B光口" or "D光口"
  const char* firstPrefix;   // "A光口: " or "C光口: "
  const char* secondPrefix;  // "B光口: " or "D光口: "
};

// Characters 1-2 of a three-character address, 2-3 of a four-character
// one, empty for any other length.
std::string PortPairKey(std::string_view cardAddress);

// Key "07" shows ports A and B, every other key C and D.
const PortPair& PortPairOf(std::string_view cardAddress);

}  // namespace t740

#endif
