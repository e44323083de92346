// The status command's report: the card's alarms, LEDs and performance
// records as the plug-in decoded them, laid out as tables. Texts from the
// plug-in are GBK and go through the terminal's converter.
#ifndef T740_HOSTING_STATUS_STATUS_REPORT_H
#define T740_HOSTING_STATUS_STATUS_REPORT_H

#include <ostream>
#include <vector>

#include "hosting/status/card_status.h"
#include "hosting/text/terminal_text.h"

namespace t740::host {

void PrintAlarms(std::ostream& out, const TerminalText& terminal,
                 const std::vector<AlarmRow>& alarms);
void PrintLeds(std::ostream& out, const LedRow& leds);
void PrintPerformance(std::ostream& out, const TerminalText& terminal, const PerfSection& section);
void PrintPerformanceLegend(std::ostream& out);

}  // namespace t740::host

#endif
