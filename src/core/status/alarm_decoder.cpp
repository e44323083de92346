#include "core/status/alarm_decoder.h"

#include "core/card/codecs.h"
#include "core/status/alarm_table.h"

namespace t740 {
namespace {

// Characters 6-61 hold the alarm bytes; 56 hex digits give 224 bits.
constexpr size_t kAlarmBitsStart = 6;
constexpr size_t kAlarmBitsLength = 56;

}  // namespace

std::optional<AlarmReading> DecodeAlarm(int32_t type, std::string_view status) {
  if (status.size() < kAlarmStatusMinimum) return std::nullopt;
  const AlarmType* alarm = FindAlarmType(type);
  if (!alarm) return std::nullopt;

  // Only the four port bytes matter: 32 bits.
  char bits[32];
  const size_t count =
      HexToBits(status.substr(kAlarmBitsStart, kAlarmBitsLength), bits, sizeof bits);
  auto isSet = [&](int bit) { return bit >= 0 && size_t(bit) < count && bits[bit] == '1'; };

  const bool present = isSet(alarm->ownBit) && !isSet(alarm->maskingBit);
  return AlarmReading{present ? kAlarmPresent : kAlarmAbsent, alarm->text};
}

}  // namespace t740
