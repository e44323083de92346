// Object identifiers as the card's agent receives them: the private
// subtree, the read or write arc, the two address fields and the group.
#ifndef T740_PROTOCOL_IDENTIFIER_H
#define T740_PROTOCOL_IDENTIFIER_H

#include <optional>
#include <string>
#include <string_view>

namespace t740::protocol {

enum class Arc { Read, Write };

struct AddressFields {
  std::string first;
  std::string second;
  friend bool operator==(const AddressFields& a, const AddressFields& b) {
    return a.first == b.first && a.second == b.second;
  }
};

struct Identifier {
  Arc arc;
  AddressFields address;
  std::string suffix;  // with its leading dot, e.g. ".12"
};

// Nothing for a text outside the card's subtree or without a group.
std::optional<Identifier> ParseIdentifier(std::string_view oid);

// The fields a card address text is known by on the management network:
// four characters split 2 + 2, any other length "0" + character 0 and
// characters 1-2.
AddressFields FieldsOfCardAddress(std::string_view cardAddress);

}  // namespace t740::protocol

#endif
