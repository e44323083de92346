#include "protocol/identifier.h"

namespace t740::protocol {
namespace {

constexpr std::string_view kSubtree = "1.3.6.1.4.1.47291.2.1.1";
constexpr std::string_view kReadArc = ".85.1.";
constexpr std::string_view kWriteArc = ".85.2.";

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

std::optional<std::string_view> TakeField(std::string_view& text) {
  const size_t dot = text.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string_view field = text.substr(0, dot);
  text.remove_prefix(dot);
  return field;
}

}  // namespace

std::optional<Identifier> ParseIdentifier(std::string_view oid) {
  if (!TakePrefix(oid, kSubtree)) return std::nullopt;
  Identifier parsed{};
  if (TakePrefix(oid, kReadArc)) {
    parsed.arc = Arc::Read;
  } else if (TakePrefix(oid, kWriteArc)) {
    parsed.arc = Arc::Write;
  } else {
    return std::nullopt;
  }
  const auto first = TakeField(oid);
  if (!first) return std::nullopt;
  oid.remove_prefix(1);
  const auto second = TakeField(oid);
  // The group is whatever follows the second field: a dot and at least one
  // more character.
  if (!second || oid.size() < 2) return std::nullopt;
  parsed.address = {std::string(*first), std::string(*second)};
  parsed.suffix = std::string(oid);
  return parsed;
}

AddressFields FieldsOfCardAddress(std::string_view cardAddress) {
  if (cardAddress.size() == 4) {
    return {std::string(cardAddress.substr(0, 2)), std::string(cardAddress.substr(2, 2))};
  }
  AddressFields fields;
  fields.first = "0";
  if (!cardAddress.empty()) fields.first += cardAddress[0];
  if (cardAddress.size() > 1) fields.second = std::string(cardAddress.substr(1, 2));
  return fields;
}

}  // namespace t740::protocol
