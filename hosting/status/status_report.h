// The status command's report: the card's alarms, LEDs and performance
// records as the plug-in decoded them, laid out as tables. Texts from the
// plug-in are GBK and go through the terminal's converter.
#ifndef T740_HOSTING_STATUS_STATUS_REPORT_H
#define T740_HOSTING_STATUS_STATUS_REPORT_H

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hosting/text/terminal_text.h"

namespace t740::host {

struct AlarmRow {
  int32_t type;
  int16_t level;     // 0 present, 5 absent
  std::string text;  // GBK
};

struct LedRow {
  int16_t count;
  std::string states;
};

struct PerfRow {
  std::string record;  // "current" or the history record's number
  int index;           // the history record's number; -1 for the current one
  std::string label;   // GBK port label
  std::string text;    // the plug-in's formatted record
};

struct PerfSection {
  std::string title;
  int16_t period;  // 15 or 24
  bool history;
  std::vector<PerfRow> rows;
};

// What the status command learnt; a part is missing when its fetch or its
// decoding failed.
struct CardStatus {
  std::optional<std::vector<AlarmRow>> alarms;
  std::optional<LedRow> leds;
  std::optional<std::vector<PerfSection>> performance;
};

void PrintAlarms(std::ostream& out, const TerminalText& terminal,
                 const std::vector<AlarmRow>& alarms);
void PrintLeds(std::ostream& out, const LedRow& leds);
void PrintPerformance(std::ostream& out, const TerminalText& terminal, const PerfSection& section);
void PrintPerformanceLegend(std::ostream& out);

}  // namespace t740::host

#endif
