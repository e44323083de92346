// Object identifiers of the card's groups, built from its card address.
#ifndef T740_CORE_CARD_CARD_ADDRESS_H
#define T740_CORE_CARD_CARD_ADDRESS_H

#include <string>
#include <string_view>

namespace t740 {

struct IdentifierFields {
  std::string first;   // device address, shown on the device information page
  std::string second;  // card address
};

enum class Operation { Read = 0, Write = 1 };

constexpr const char kCardSubtree[] = "1.3.6.1.4.1.47291.2.1.1";

// A four-character address splits 2 + 2; any other gives "0" + character 0
// and characters 1-2, as many as exist.
IdentifierFields SplitCardAddress(std::string_view cardAddress);

std::string BuildCardOid(const IdentifierFields& fields, Operation operation,
                         std::string_view groupSuffix);
std::string BuildCardOid(std::string_view cardAddress, Operation operation,
                         std::string_view groupSuffix);

}  // namespace t740

#endif
