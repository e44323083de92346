// The section alarms as the plug-in names them, in the order of its alarm
// types within a port: the card's alarm status and its notifications both
// name them so.
#ifndef T740_PROTOCOL_ALARM_NAMES_H
#define T740_PROTOCOL_ALARM_NAMES_H

#include <cstddef>

namespace t740::protocol {

inline constexpr const char* kSectionAlarmNames[] = {"RS-TIM", "STM-LOS", "STM-LOF", "RS-OOF"};
inline constexpr size_t kSectionAlarmCount =
    sizeof kSectionAlarmNames / sizeof kSectionAlarmNames[0];

}  // namespace t740::protocol

#endif
