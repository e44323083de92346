#include "sim/status_texts.h"

#include <cstdio>

#include "sim/alarm_table.h"
#include "sim/hex.h"
#include "sim/line_side.h"

namespace t740::sim {
namespace {

constexpr char kAlarmHead[] = "1C0000";
constexpr int kAlarmBytes = 28;
constexpr char kLedHead[] = "470000";
constexpr int kLedBytes = 71;

// Two LEDs per port byte: the signal LED and the alarm LED.
constexpr uint8_t kLedNoSignal = 0x80;
constexpr uint8_t kLedAlarm = 0x10;

constexpr char kPerfHead[] = "000000";
constexpr char kPerfFieldHead[] = "0000";
constexpr size_t kRecordLength = kCounterCount * 4;
constexpr size_t kAreaLength = 896;
constexpr size_t kRecordsPerArea = 8;
constexpr size_t kDayRecordsPerPort = 3;

uint8_t PortAlarmByte(const CardState& state, int port) {
  return AlarmByte(AlarmsOf(state, port));
}

uint8_t LedByte(const CardState& state, int port) {
  const PortAlarms alarms = AlarmsOf(state, port);
  uint8_t byte = 0;
  if (alarms.lossOfSignal) byte |= kLedNoSignal;
  if (alarms.traceMismatch || alarms.lossOfFrame || alarms.outOfFrame) byte |= kLedAlarm;
  return byte;
}

std::string StatusBlock(const CardState& state, const char* head, int bytes,
                        uint8_t (*portByte)(const CardState&, int)) {
  std::string text = head;
  for (int port = 0; port < kPortCount; ++port) text += ByteHex(portByte(state, port));
  text.append(2 * (bytes - kPortCount), '0');
  return text;
}

std::string RecordHex(const Counters& counters) {
  std::string hex;
  for (uint16_t counter : counters) hex += WordHex(counter);
  return hex;
}

// The period's records in order, the current one last.
std::vector<Counters> RecordsOf(const PeriodRecords& period) {
  std::vector<Counters> records = period.history;
  records.push_back(period.current);
  return records;
}

void AppendRecords(std::string& area, const std::vector<Counters>& records, size_t from,
                   size_t count) {
  for (size_t r = from; r < from + count; ++r) {
    area += r < records.size() ? RecordHex(records[r]) : std::string(kRecordLength, '0');
  }
}

std::string Area(const std::string& records) {
  std::string area = records;
  area.resize(kAreaLength, '0');
  return area;
}

std::string QuarterHourArea(const PortPerformance& port, size_t from) {
  std::string records;
  AppendRecords(records, RecordsOf(port.quarterHours), from, kRecordsPerArea);
  return Area(records);
}

std::string Count(size_t count) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02zu", count % 100);
  return digits;
}

}  // namespace

std::string AlarmStatusText(const CardState& state) {
  return StatusBlock(state, kAlarmHead, kAlarmBytes, PortAlarmByte);
}

std::string LedStatusText(const CardState& state) {
  return StatusBlock(state, kLedHead, kLedBytes, LedByte);
}

std::string PerformanceDataText(const PortPerformance& first, const PortPerformance& second) {
  std::string days;
  AppendRecords(days, RecordsOf(first.days), 0, kDayRecordsPerPort);
  AppendRecords(days, RecordsOf(second.days), 0, kDayRecordsPerPort);
  const std::string quarterCount = Count(first.quarterHours.history.size());
  const std::string dayCount = Count(first.days.history.size());
  std::string text;
  text += kPerfHead + quarterCount + "00" + QuarterHourArea(first, 0) + ",";
  text += kPerfFieldHead + QuarterHourArea(first, kRecordsPerArea) + ",";
  text += kPerfFieldHead + QuarterHourArea(second, 0) + ",";
  text += kPerfFieldHead + QuarterHourArea(second, kRecordsPerArea) + ",";
  text += kPerfHead + std::string("00") + dayCount + Area(days) + ",";
  return text;
}

PortPair PerformancePortPair(const std::string& secondAddressField) {
  if (secondAddressField == "07") return {0, 1};
  return {2, 3};
}

}  // namespace t740::sim
