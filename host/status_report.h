// The status command's report: the card's alarms, LEDs and performance
// records as the plug-in decoded them, laid out as tables. Texts from the
// plug-in are GBK and go through the terminal's converter.
#ifndef T740_HOST_STATUS_REPORT_H
#define T740_HOST_STATUS_REPORT_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host/terminal_text.h"

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
  std::string label;   // GBK port label
  std::string text;    // the plug-in's formatted record
};

struct PerfSection {
  std::string title;
  std::vector<PerfRow> rows;
};

void PrintAlarms(std::ostream& out, const TerminalText& terminal,
                 const std::vector<AlarmRow>& alarms);
void PrintLeds(std::ostream& out, const LedRow& leds);
void PrintPerformance(std::ostream& out, const TerminalText& terminal, const PerfSection& section);
void PrintPerformanceLegend(std::ostream& out);

}  // namespace t740::host

#endif
