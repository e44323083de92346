#include "core/thresholds/port_pair.h"

namespace t740 {
namespace {

const PortPair kPairAB = {"A\xB9\xE2\xBF\xDA" /* A光口 */, "B\xB9\xE2\xBF\xDA" /* B光口 */,
                          "A\xB9\xE2\xBF\xDA: " /* A光口:  */, "B\xB9\xE2\xBF\xDA: " /* B光口:  */};
const PortPair kPairCD = {"C\xB9\xE2\xBF\xDA" /* C光口 */, "D\xB9\xE2\xBF\xDA" /* D光口 */,
                          "C\xB9\xE2\xBF\xDA: " /* C光口:  */, "D\xB9\xE2\xBF\xDA: " /* D光口:  */};

}  // namespace

std::string PortPairKey(std::string_view cardAddress) {
  if (cardAddress.size() == 3) return std::string(cardAddress.substr(1, 2));
  if (cardAddress.size() == 4) return std::string(cardAddress.substr(2, 2));
  return std::string();
}

const PortPair& PortPairOf(std::string_view cardAddress) {
  return PortPairKey(cardAddress) == "07" ? kPairAB : kPairCD;
}

}  // namespace t740
