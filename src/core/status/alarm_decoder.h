// Decodes one alarm type from the card's alarm status text.
#ifndef T740_CORE_STATUS_ALARM_DECODER_H
#define T740_CORE_STATUS_ALARM_DECODER_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace t740 {

constexpr int16_t kAlarmPresent = 0;
constexpr int16_t kAlarmAbsent = 5;
constexpr size_t kAlarmStatusMinimum = 62;

struct AlarmReading {
  int16_t level;
  const char* text;
};

// Nothing for a status shorter than 62 characters or a type outside 1-16.
std::optional<AlarmReading> DecodeAlarm(int32_t type, std::string_view status);

}  // namespace t740

#endif
