// The card's sixteen alarm types: four section alarms on each optical port.
#ifndef T740_CORE_STATUS_ALARM_TABLE_H
#define T740_CORE_STATUS_ALARM_TABLE_H

namespace t740 {

constexpr int kAlarmTypeCount = 16;

struct AlarmType {
  const char* text;  // GBK, as the host shows it
  int ownBit;        // bit of the port bytes that raises the alarm
  int maskingBit;    // the port's STM-LOS bit, or -1 for STM-LOS itself
};

// Types 1 to 16; null outside.
const AlarmType* FindAlarmType(int type);

}  // namespace t740

#endif
