// The card's objects as its SNMP agent names them, under the private
// subtree: the groups at <subtree>.85.<1 read | 2 write>.<first>.<second>.
// <group>, and the status texts the host polls at
// <subtree>.86.<first>.<second>.<text>, with the address fields read as
// decimal arcs.
#ifndef T740_PROTOCOL_CARD_MIB_H
#define T740_PROTOCOL_CARD_MIB_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/status_kind.h"

namespace t740::protocol {

constexpr std::string_view kCardSubtreeText = "1.3.6.1.4.1.47291.2.1.1";
constexpr uint32_t kGroupsArc = 85;
constexpr uint32_t kReadGroupArc = 1;
constexpr uint32_t kWriteGroupArc = 2;
constexpr uint32_t kStatusArc = 86;

struct StatusObject {
  StatusKind kind;
  uint32_t arc;
};
constexpr StatusObject kStatusObjects[] = {
    {StatusKind::Alarm, 1},
    {StatusKind::Led, 2},
    {StatusKind::Performance, 3},
};

// The alarm change notification, <subtree>.0.1, and the objects it
// carries, each as its scalar instance <subtree>.87.<object>.0.
constexpr uint32_t kNotificationsArc = 0;
constexpr uint32_t kAlarmChangeArc = 1;
constexpr uint32_t kAlarmObjectsArc = 87;
enum class AlarmObject : uint32_t { CardIp = 1, Card, Port, Name, State, Time };
// t740AlarmState's values.
constexpr long kAlarmRaised = 1;
constexpr long kAlarmCleared = 2;

std::vector<uint32_t> CardSubtreeArcs();
std::vector<uint32_t> AlarmChangeArcs();
std::vector<uint32_t> AlarmObjectArcs(AlarmObject object);
// The dotted identifier of a status text of the card at `cardAddress`.
std::string StatusOidText(std::string_view cardAddress, StatusKind kind);

}  // namespace t740::protocol

#endif
