#include "protocol/card_mib.h"

#include "protocol/identifier.h"

namespace t740::protocol {

std::vector<uint32_t> CardSubtreeArcs() {
  return {1, 3, 6, 1, 4, 1, 47291, 2, 1, 1};
}

std::vector<uint32_t> AlarmChangeArcs() {
  std::vector<uint32_t> arcs = CardSubtreeArcs();
  arcs.insert(arcs.end(), {kNotificationsArc, kAlarmChangeArc});
  return arcs;
}

std::vector<uint32_t> AlarmObjectArcs(AlarmObject object) {
  std::vector<uint32_t> arcs = CardSubtreeArcs();
  arcs.insert(arcs.end(), {kAlarmObjectsArc, static_cast<uint32_t>(object), 0});
  return arcs;
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
