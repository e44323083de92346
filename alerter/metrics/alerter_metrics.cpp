#include "alerter/metrics/alerter_metrics.h"

#include "hosting/text/exposition_writer.h"

namespace t740::alerter {
namespace {

using host::ExpositionWriter;

void WriteNotifications(ExpositionWriter& out, const std::vector<NotificationCount>& counts,
                        uint64_t unknownCards) {
  out.Family("t740_alerter_notifications_total", "counter",
             "Notifications received, by what became of them; only accepted ones for a known "
             "card are acted on.");
  for (const NotificationCount& count : counts) {
    out.Sample("t740_alerter_notifications_total", {{"outcome", count.outcome}},
               static_cast<double>(count.count));
  }
  out.Sample("t740_alerter_notifications_total", {{"outcome", "unknown_card"}},
             static_cast<double>(unknownCards));
}

void WriteAlertmanagers(ExpositionWriter& out, const NotifierCounts& counts) {
  struct Family {
    const char* name;
    const char* type;
    const char* help;
    double (*value)(const AlertmanagerCounts&);
  };
  static const Family kFamilies[] = {
      {"t740_alerter_alerts_sent_total", "counter", "Alerts Alertmanager took.",
       [](const AlertmanagerCounts& c) { return static_cast<double>(c.sent); }},
      {"t740_alerter_alerts_failed_total", "counter",
       "Alerts in posts that failed, once a try; they are tried again.",
       [](const AlertmanagerCounts& c) { return static_cast<double>(c.failed); }},
      {"t740_alerter_alerts_dropped_total", "counter",
       "Alerts given up: pushed out of a full queue, or refused by Alertmanager.",
       [](const AlertmanagerCounts& c) { return static_cast<double>(c.dropped); }},
      {"t740_alerter_queue_length", "gauge", "Alerts waiting to be posted.",
       [](const AlertmanagerCounts& c) { return static_cast<double>(c.queueLength); }},
  };
  for (const Family& family : kFamilies) {
    out.Family(family.name, family.type, family.help);
    for (const AlertmanagerCounts& alertmanager : counts.alertmanagers) {
      out.Sample(family.name, {{"alertmanager", alertmanager.url}}, family.value(alertmanager));
    }
  }
}

void WriteLatency(ExpositionWriter& out, const NotifierCounts& counts) {
  constexpr char kName[] = "t740_alerter_notification_to_post_seconds";
  out.Family(kName, "histogram",
             "From a notification's arrival to Alertmanager taking the alert it caused.");
  for (const AlertmanagerCounts& alertmanager : counts.alertmanagers) {
    const LatencyHistogram& latency = alertmanager.latency;
    for (size_t i = 0; i < latency.kBounds.size(); ++i) {
      out.Sample(
          std::string(kName) + "_bucket",
          {{"alertmanager", alertmanager.url}, {"le", host::ExpositionNumber(latency.kBounds[i])}},
          static_cast<double>(latency.buckets[i]));
    }
    out.Sample(std::string(kName) + "_bucket", {{"alertmanager", alertmanager.url}, {"le", "+Inf"}},
               static_cast<double>(latency.count));
    out.Sample(std::string(kName) + "_sum", {{"alertmanager", alertmanager.url}}, latency.sum);
    out.Sample(std::string(kName) + "_count", {{"alertmanager", alertmanager.url}},
               static_cast<double>(latency.count));
  }
}

void WriteLog(ExpositionWriter& out, const AlarmLogHealth& log) {
  out.Family("t740_alerter_log_entries_total", "counter",
             "Changes kept in the alarm log since the start.");
  out.Sample("t740_alerter_log_entries_total", {}, static_cast<double>(log.kept));
  out.Family("t740_alerter_log_gap_total", "counter",
             "Changes the alarm log could not keep: its file failed or did not open.");
  out.Sample("t740_alerter_log_gap_total", {}, static_cast<double>(log.gap));
  out.Family("t740_alerter_log_writable", "gauge",
             "1 while the alarm log keeps changes; the alerter's log says why not.");
  out.Sample("t740_alerter_log_writable", {}, log.writable ? 1 : 0);
}

}  // namespace

void AlerterMetrics::CountProbe(bool up, double seconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++(up ? probesUp_ : probesDown_);
  probeSeconds_ += seconds;
}

void AlerterMetrics::CountUnknownCard() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++unknownCards_;
}

std::string AlerterMetrics::Exposition(const AlerterState& state) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string text;
  ExpositionWriter out(text);
  WriteNotifications(out, state.notifications, unknownCards_);
  out.Family("t740_alerter_probes_total", "counter", "Probes of cards, by whether they answered.");
  out.Sample("t740_alerter_probes_total", {{"outcome", "success"}}, static_cast<double>(probesUp_));
  out.Sample("t740_alerter_probes_total", {{"outcome", "failure"}},
             static_cast<double>(probesDown_));
  out.Family("t740_alerter_probe_seconds_total", "counter", "Time spent probing cards.");
  out.Sample("t740_alerter_probe_seconds_total", {}, probeSeconds_);
  out.Family("t740_alerter_probes_asked_total", "counter",
             "Probes asked for by notifications and rounds; more than run when they coalesce.");
  out.Sample("t740_alerter_probes_asked_total", {}, static_cast<double>(state.probesAsked));
  out.Family("t740_alerter_probes_waiting", "gauge", "Cards waiting for a probe.");
  out.Sample("t740_alerter_probes_waiting", {}, static_cast<double>(state.probesWaiting));
  out.Family("t740_alerter_cards", "gauge", "Cards the targets files name.");
  out.Sample("t740_alerter_cards", {}, static_cast<double>(state.cards));
  out.Family("t740_alerter_alerts_firing", "gauge", "Alerts the alerter holds firing.");
  out.Sample("t740_alerter_alerts_firing", {}, static_cast<double>(state.alertsFiring));
  WriteAlertmanagers(out, state.alertmanagers);
  WriteLatency(out, state.alertmanagers);
  WriteLog(out, state.log);
  connections_.Write(out, "t740_alerter");
  out.Family("t740_alerter_build_info", "gauge", "The alerter's version.");
  out.Sample("t740_alerter_build_info", {{"version", version_}}, 1);
  out.Family("t740_alerter_config_last_reload_successful", "gauge",
             "1 when the last load of the configuration succeeded.");
  out.Sample("t740_alerter_config_last_reload_successful", {}, state.lastReloadSuccessful ? 1 : 0);
  out.Family("t740_alerter_config_last_reload_success_timestamp_seconds", "gauge",
             "When the configuration was last loaded successfully.");
  out.Sample("t740_alerter_config_last_reload_success_timestamp_seconds", {},
             state.lastReloadSuccessSeconds);
  return text;
}

}  // namespace t740::alerter
