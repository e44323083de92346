// The card's status as the plug-in decoded it, built once and written by
// each report (terminal text, JSON, Prometheus metrics): the alarms with
// their port and name, the LED codes, and the performance records with
// their counters as numbers.
#ifndef T740_HOSTING_STATUS_CARD_STATUS_H
#define T740_HOSTING_STATUS_CARD_STATUS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace t740::host {

constexpr int16_t kAlarmPresent = 0;

struct AlarmRow {
  int32_t type;
  int16_t level;     // 0 present, 5 absent
  std::string text;  // GBK, "光口A:RS-TIM"
  std::string port;  // "A" to "D"; empty when the text names none
  std::string name;  // UTF-8, "RS-TIM"
  bool Present() const { return level == kAlarmPresent; }
};

struct LedRow {
  int16_t count;
  std::string states;
};

struct Counter {
  char letter;
  std::string hex;            // as the card counts
  std::optional<long> value;  // nothing when the field is empty or not hex
};

struct Group {
  char name;  // 'O' to 'S'
  std::vector<Counter> counters;
};

struct PerfRow {
  std::string record;                        // "current" or the history record's number
  int index;                                 // the history record's number; -1 for the current one
  std::string label;                         // GBK port label
  std::string ports;                         // "A/C" or "B/D"
  std::string text;                          // the plug-in's formatted record
  std::optional<std::vector<Group>> groups;  // nothing when the text is not in its frame
};

struct PerfSection {
  std::string title;
  int16_t period;  // 15 or 24
  bool history;
  std::vector<PerfRow> rows;
};

// A part is missing when its fetch or its decoding failed.
struct CardStatus {
  std::optional<std::vector<AlarmRow>> alarms;
  std::optional<LedRow> leds;
  std::optional<std::vector<PerfSection>> performance;
};

}  // namespace t740::host

#endif
