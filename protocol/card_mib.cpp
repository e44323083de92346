#include "protocol/card_mib.h"

#include "protocol/identifier.h"

namespace t740::protocol {

std::vector<uint32_t> CardSubtreeArcs() {
  return {1, 3, 6, 1, 4, 1, 47291, 2, 1, 1};
}

std::string StatusOidText(std::string_view cardAddress, StatusKind kind) {
  const AddressFields fields = FieldsOfCardAddress(cardAddress);
  uint32_t arc = 0;
  for (const StatusObject& object : kStatusObjects) {
    if (object.kind == kind) arc = object.arc;
  }
  return std::string(kCardSubtreeText) + "." + std::to_string(kStatusArc) + "." + fields.first +
         "." + fields.second + "." + std::to_string(arc);
}

}  // namespace t740::protocol
