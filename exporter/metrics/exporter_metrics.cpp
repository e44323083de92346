#include "exporter/metrics/exporter_metrics.h"

#include <limits>

#include "hosting/text/exposition_writer.h"

namespace t740::exporter {
namespace {

constexpr double kDurationBounds[] = {0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10, 30};

struct OutcomeName {
  ProbeOutcome outcome;
  const char* name;
};
constexpr OutcomeName kOutcomes[] = {
    {ProbeOutcome::Success, "success"},        {ProbeOutcome::Failure, "failure"},
    {ProbeOutcome::BadRequest, "bad_request"}, {ProbeOutcome::Forbidden, "forbidden"},
    {ProbeOutcome::Abandoned, "abandoned"},    {ProbeOutcome::Error, "error"},
};

}  // namespace

ExporterMetrics::ExporterMetrics(std::string version, std::string plugin)
    : version_(std::move(version)),
      plugin_(std::move(plugin)),
      buckets_(std::size(kDurationBounds), 0) {}

void ExporterMetrics::CountProbe(ProbeOutcome outcome) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++probes_[static_cast<size_t>(outcome)];
}

void ExporterMetrics::CountSnmpProbe(double seconds, bool timedOut, int requests) {
  std::lock_guard<std::mutex> lock(mutex_);
  snmpRequests_ += static_cast<uint64_t>(requests);
  snmpTimeouts_ += timedOut;
  ++durationCount_;
  durationSum_ += seconds;
  for (size_t i = 0; i < buckets_.size(); ++i) buckets_[i] += seconds <= kDurationBounds[i];
}

std::string ExporterMetrics::Exposition(const ReloadState& reload) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string text;
  host::ExpositionWriter out(text);
  out.Family("t740_exporter_probes_total", "counter", "Probes by outcome.");
  for (const OutcomeName& entry : kOutcomes) {
    out.Sample("t740_exporter_probes_total", {{"outcome", entry.name}},
               static_cast<double>(probes_[static_cast<size_t>(entry.outcome)]));
  }
  out.Family("t740_exporter_probe_duration_seconds", "histogram",
             "Duration of the probes that asked a card.");
  for (size_t i = 0; i < buckets_.size(); ++i) {
    out.Sample("t740_exporter_probe_duration_seconds_bucket",
               {{"le", host::ExpositionNumber(kDurationBounds[i])}},
               static_cast<double>(buckets_[i]));
  }
  out.Sample("t740_exporter_probe_duration_seconds_bucket", {{"le", "+Inf"}},
             static_cast<double>(durationCount_));
  out.Sample("t740_exporter_probe_duration_seconds_sum", {}, durationSum_);
  out.Sample("t740_exporter_probe_duration_seconds_count", {}, static_cast<double>(durationCount_));
  out.Family("t740_exporter_snmp_requests_total", "counter",
             "SNMP messages sent to cards: every try, SNMPv3 engine discoveries included.");
  out.Sample("t740_exporter_snmp_requests_total", {}, static_cast<double>(snmpRequests_));
  out.Family("t740_exporter_snmp_timeouts_total", "counter",
             "Probes whose card did not answer within their time-out and tries, "
             "SNMPv3 engine discoveries included.");
  out.Sample("t740_exporter_snmp_timeouts_total", {}, static_cast<double>(snmpTimeouts_));
  connections_.Write(out, "t740_exporter");
  out.Family("t740_exporter_build_info", "gauge", "The exporter's version and its plug-in.");
  out.Sample("t740_exporter_build_info", {{"version", version_}, {"plugin", plugin_}}, 1);
  out.Family("t740_exporter_config_last_reload_successful", "gauge",
             "1 when the last load of the configuration succeeded.");
  out.Sample("t740_exporter_config_last_reload_successful", {}, reload.lastSuccessful ? 1 : 0);
  out.Family("t740_exporter_config_last_reload_success_timestamp_seconds", "gauge",
             "When the configuration was last loaded successfully.");
  out.Sample("t740_exporter_config_last_reload_success_timestamp_seconds", {},
             reload.lastSuccessSeconds);
  return text;
}

}  // namespace t740::exporter
