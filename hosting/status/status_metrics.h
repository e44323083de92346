// The card's decoded status as Prometheus metrics: each alarm 1 present or
// 0 absent by port and name, and the performance counters of the current
// and the latest completed record of each period, one family per counter.
// A counter field that is not hex is left out and counted instead.
#ifndef T740_HOSTING_STATUS_STATUS_METRICS_H
#define T740_HOSTING_STATUS_STATUS_METRICS_H

#include <vector>

#include "hosting/status/card_status.h"
#include "hosting/text/exposition_writer.h"

namespace t740::host {

void WriteAlarmMetrics(ExpositionWriter& out, const std::vector<AlarmRow>& alarms);
// Writes the counter families and t740_performance_decode_errors.
void WritePerformanceMetrics(ExpositionWriter& out, const std::vector<PerfSection>& sections);

}  // namespace t740::host

#endif
