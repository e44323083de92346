// One alarm of one card that rose or cleared, as t740-sim notifies it, and
// the changes between two alarm status texts of a card.
#ifndef T740_SIM_AGENT_ALARM_CHANGE_H
#define T740_SIM_AGENT_ALARM_CHANGE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/card_model.h"

namespace t740::sim {

struct AlarmChange {
  std::string ip;     // the card's management IP
  std::string card;   // its card address
  char port;          // 'A' to 'D'
  std::string alarm;  // as the plug-in names it: "STM-LOS"
  bool raised;        // false: cleared
  int64_t cardTime;   // the card's clock at the change, seconds since 1970 UTC
};

// Every alarm that `after` reports and `before` does not rose, every one
// that `before` reports and `after` does not cleared; by port, then in the
// order of the plug-in's alarm types.
std::vector<AlarmChange> AlarmChanges(const CardIdentity& card, std::string_view before,
                                      std::string_view after, int64_t cardTime);

}  // namespace t740::sim

#endif
