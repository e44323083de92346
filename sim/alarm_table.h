// The card's section alarms as its alarm status carries them: one byte per
// port A to D, a bit per alarm, in the order of the plug-in's alarm types
// (type = 4 * port + row + 1), with each alarm's name as the plug-in
// reports it. The status text is built and read by this one table.
#ifndef T740_SIM_ALARM_TABLE_H
#define T740_SIM_ALARM_TABLE_H

#include <cstdint>
#include <set>
#include <string_view>

#include "protocol/alarm_names.h"
#include "sim/line_side.h"

namespace t740::sim {

struct AlarmBit {
  bool PortAlarms::*alarm;
  uint8_t mask;
  const char* name;
};

inline constexpr AlarmBit kAlarmBits[] = {
    {&PortAlarms::traceMismatch, 0x20, protocol::kSectionAlarmNames[0]},
    {&PortAlarms::lossOfSignal, 0x04, protocol::kSectionAlarmNames[1]},
    {&PortAlarms::lossOfFrame, 0x02, protocol::kSectionAlarmNames[2]},
    {&PortAlarms::outOfFrame, 0x01, protocol::kSectionAlarmNames[3]},
};
inline constexpr size_t kAlarmBitCount = sizeof kAlarmBits / sizeof kAlarmBits[0];
static_assert(kAlarmBitCount == protocol::kSectionAlarmCount);

// Where port A's byte starts in the alarm status text, after the head.
inline constexpr size_t kAlarmPortBytesAt = 6;

// One alarm of one port: `bit` indexes kAlarmBits.
struct PortAlarm {
  int port;
  size_t bit;
  bool operator<(const PortAlarm& other) const {
    return port != other.port ? port < other.port : bit < other.bit;
  }
};

// The port's status byte with the bits of its present alarms.
uint8_t AlarmByte(const PortAlarms& alarms);

// The alarms an alarm status text reports, as the plug-in decodes them: a
// lost signal hides its port's other alarms. A text too short for the
// port bytes, or with a port byte that is not hex, reports none there.
std::set<PortAlarm> AlarmsOfStatusText(std::string_view text);

}  // namespace t740::sim

#endif
