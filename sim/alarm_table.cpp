#include "sim/alarm_table.h"

#include "sim/hex.h"

namespace t740::sim {
namespace {

constexpr uint8_t kLossOfSignalMask = 0x04;

bool Reported(uint8_t byte, const AlarmBit& bit) {
  if ((byte & bit.mask) == 0) return false;
  return bit.mask == kLossOfSignalMask || (byte & kLossOfSignalMask) == 0;
}

}  // namespace

uint8_t AlarmByte(const PortAlarms& alarms) {
  uint8_t byte = 0;
  for (const AlarmBit& bit : kAlarmBits) {
    if (alarms.*bit.alarm) byte |= bit.mask;
  }
  return byte;
}

std::set<PortAlarm> AlarmsOfStatusText(std::string_view text) {
  std::set<PortAlarm> alarms;
  for (int port = 0; port < kPortCount; ++port) {
    const size_t at = kAlarmPortBytesAt + 2 * static_cast<size_t>(port);
    if (text.size() < at + 2 || !IsHexText(text.substr(at, 2))) continue;
    const uint8_t byte = ParseByte(text.substr(at, 2));
    for (size_t bit = 0; bit < kAlarmBitCount; ++bit) {
      if (Reported(byte, kAlarmBits[bit])) alarms.insert({port, bit});
    }
  }
  return alarms;
}

}  // namespace t740::sim
