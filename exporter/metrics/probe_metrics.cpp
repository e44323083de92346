#include "exporter/metrics/probe_metrics.h"

#include "hosting/status/status_metrics.h"
#include "hosting/text/exposition_writer.h"

namespace t740::exporter {
namespace {

// A card's whole answer, about 19 KB: the text grows no more after this.
constexpr size_t kExpositionReserve = 24 * 1024;

}  // namespace

std::string ProbeExposition(const ProbeResult& result) {
  std::string text;
  text.reserve(kExpositionReserve);
  host::ExpositionWriter out(text);
  out.Family("t740_up", "gauge",
             "1 when the card answered and the plug-in decoded its status, else 0.");
  out.Sample("t740_up", {}, result.up ? 1 : 0);
  out.Family("t740_probe_duration_seconds", "gauge", "How long the probe took.");
  out.Sample("t740_probe_duration_seconds", {}, result.seconds);
  if (result.up) {
    host::WriteAlarmMetrics(out, *result.status.alarms);
    host::WritePerformanceMetrics(out, *result.status.performance);
  }
  return text;
}

}  // namespace t740::exporter
