#include "core/card/card_address.h"

namespace t740 {

IdentifierFields SplitCardAddress(std::string_view cardAddress) {
  if (cardAddress.size() == 4) {
    return {std::string(cardAddress.substr(0, 2)), std::string(cardAddress.substr(2, 2))};
  }
  IdentifierFields fields;
  fields.first = "0";
  fields.first.append(cardAddress.substr(0, 1));
  if (cardAddress.size() > 1) fields.second = std::string(cardAddress.substr(1, 2));
  return fields;
}

std::string BuildCardOid(const IdentifierFields& fields, Operation operation,
                         std::string_view groupSuffix) {
  std::string oid = kCardSubtree;
  oid += operation == Operation::Read ? ".85.1." : ".85.2.";
  oid += fields.first;
  oid += '.';
  oid += fields.second;
  oid += groupSuffix;
  return oid;
}

std::string BuildCardOid(std::string_view cardAddress, Operation operation,
                         std::string_view groupSuffix) {
  return BuildCardOid(SplitCardAddress(cardAddress), operation, groupSuffix);
}

}  // namespace t740
