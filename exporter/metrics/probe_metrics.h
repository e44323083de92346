// A probe's answer: t740_up, t740_probe_duration_seconds and, when the card
// answered and the plug-in decoded its status, the alarm and performance
// families.
#ifndef T740_EXPORTER_METRICS_PROBE_METRICS_H
#define T740_EXPORTER_METRICS_PROBE_METRICS_H

#include <string>

#include "monitoring/probe/card_prober.h"

namespace t740::exporter {

// The exporter is built on the pieces it shares with the alerter.
using namespace monitoring;

std::string ProbeExposition(const ProbeResult& result);

}  // namespace t740::exporter

#endif
