#include "sim/agent/alarm_change.h"

#include <set>

#include "sim/alarm_table.h"

namespace t740::sim {

std::vector<AlarmChange> AlarmChanges(const CardIdentity& card, std::string_view before,
                                      std::string_view after, int64_t cardTime) {
  const std::set<PortAlarm> was = AlarmsOfStatusText(before);
  const std::set<PortAlarm> is = AlarmsOfStatusText(after);
  std::vector<AlarmChange> changes;
  for (int port = 0; port < kPortCount; ++port) {
    for (size_t bit = 0; bit < kAlarmBitCount; ++bit) {
      const bool present = is.count({port, bit}) > 0;
      if (present == (was.count({port, bit}) > 0)) continue;
      changes.push_back({card.ip, card.cardAddress, static_cast<char>('A' + port),
                         kAlarmBits[bit].name, present, cardTime});
    }
  }
  return changes;
}

}  // namespace t740::sim
