#include "exporter/web/exporter_server.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "exporter/metrics/probe_metrics.h"
#include "hosting/text/exposition_writer.h"
#include "monitoring/config/config_reload.h"
#include "monitoring/probe/card_prober.h"
#include "monitoring/probe/probe_query.h"
#include "monitoring/probe/scrape_budget.h"

namespace t740::exporter {
namespace {

constexpr char kTextPlain[] = "text/plain; charset=utf-8";
constexpr char kScrapeTimeoutHeader[] = "X-Prometheus-Scrape-Timeout-Seconds";

constexpr char kHomePage[] =
    "<!DOCTYPE html>\n"
    "<html><head><title>t740 exporter</title></head><body>\n"
    "<h1>t740 exporter</h1>\n"
    "<p>Alarms and performance counters of t740 SDH line cards, read over SNMP and\n"
    "decoded by the card's plug-in.</p>\n"
    "<ul>\n"
    "<li><a href=\"metrics\">metrics</a>: the exporter's own metrics</li>\n"
    "<li><a href=\"probe?target=127.0.0.1:161&amp;card=0107\">probe?target=ADDRESS[:PORT]"
    "&amp;card=CARDADDRESS[&amp;auth=NAME]</a>: one card</li>\n"
    "</ul>\n"
    "</body></html>\n";

double Seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

}  // namespace

ExporterServer::ExporterServer(ExporterParts parts, const WebConfig& web)
    : parts_(parts), web_(web, Routes(), Hooks(), "t740-exporter") {}

ExporterServer::~ExporterServer() = default;

std::vector<WebRoute> ExporterServer::Routes() {
  return {
      {"GET", "/",
       [](const httplib::Request&, httplib::Response& response) {
         response.set_content(kHomePage, "text/html; charset=utf-8");
       }},
      {"GET", "/metrics",
       [this](const httplib::Request& request, httplib::Response& response) {
         Metrics(request, response);
       }},
      {"GET", "/probe",
       [this](const httplib::Request& request, httplib::Response& response) {
         Probe(request, response);
       }},
      {"POST", "/-/reload",
       [this](const httplib::Request& request, httplib::Response& response) {
         ReloadAnswer(request, response);
       }},
  };
}

WebServerHooks ExporterServer::Hooks() {
  return {
      [this] { parts_.metrics.Connections().CountRefused(); },
      [this](int open) { parts_.metrics.Connections().SetOpen(open); },
      [this](const httplib::Request& request, const std::string& why) {
        parts_.log.Log(LogLevel::Error, "request failed", {{"path", request.path}, {"err", why}});
        if (request.path == "/probe") parts_.metrics.CountProbe(ProbeOutcome::Error);
      }};
}

void ExporterServer::Metrics(const httplib::Request&, httplib::Response& response) {
  const ReloadState reload{parts_.config.LastReloadSuccessful(),
                           parts_.config.LastSuccessSeconds()};
  response.set_content(parts_.metrics.Exposition(reload), host::ExpositionWriter::kContentType);
}

void ExporterServer::ReloadAnswer(const httplib::Request&, httplib::Response& response) {
  if (const auto error = Reload("POST /-/reload")) {
    WebServer::Refuse(response, 500, "the configuration was not reloaded: " + *error);
  } else {
    response.set_content("configuration reloaded\n", kTextPlain);
  }
}

void ExporterServer::Probe(const httplib::Request& request, httplib::Response& response) {
  const ProbeQuery query = ParseProbeQuery(request.params);
  if (!query.target) {
    parts_.metrics.CountProbe(ProbeOutcome::BadRequest);
    return WebServer::Refuse(response, 400, query.error);
  }
  const ProbeTarget& target = *query.target;
  if (!parts_.allowList.Allows(target.ipv4)) {
    parts_.metrics.CountProbe(ProbeOutcome::Forbidden);
    return WebServer::Refuse(response, 403,
                             "target " + target.address + " is not in --allow-target");
  }
  const std::shared_ptr<const AccessConfig> config = parts_.config.Current();
  const Auth* auth = &config->defaultAuth;
  if (!target.auth.empty()) {
    const auto named = config->auths.find(target.auth);
    if (named == config->auths.end()) {
      parts_.metrics.CountProbe(ProbeOutcome::BadRequest);
      return WebServer::Refuse(response, 400, "auth: unknown auth '" + target.auth + "'");
    }
    auth = &named->second;
  }
  const auto queued = std::chrono::steady_clock::now();
  std::optional<int> budget =
      ScrapeBudgetMilliseconds(request.get_header_value(kScrapeTimeoutHeader));
  // A probe whose scrape has ended, or whose client has gone, gives its
  // turn up: nobody waits for its answer.
  const auto deadline = budget ? queued + std::chrono::milliseconds(*budget)
                               : std::chrono::steady_clock::time_point::max();
  const ProbeGate::Pass pass(probes_, deadline, WebServer::ClientGone);
  const auto waited = std::chrono::steady_clock::now() - queued;
  if (!pass.Held()) {
    parts_.metrics.CountProbe(ProbeOutcome::Abandoned);
    parts_.log.Log(LogLevel::Warn, "probe abandoned while waiting for a place",
                   {{"target", target.address + ":" + std::to_string(target.port)},
                    {"card", target.card},
                    {"waited_seconds", std::to_string(Seconds(waited))}});
    return WebServer::Refuse(response, 503,
                             "the probe's scrape time-out passed while it waited for a place");
  }
  // The wait for a place counts against the scrape's time.
  if (budget) {
    const auto waitedMilliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(waited).count();
    budget = std::max(kBudgetMinimumMilliseconds, *budget - static_cast<int>(waitedMilliseconds));
  }
  const SnmpTries tries = FitTries({config->timeoutMilliseconds, config->retries}, budget);
  ProbeResult result = ProbeCard(parts_.exports, parts_.sessions, target, *auth, tries);
  result.seconds += Seconds(waited);
  parts_.metrics.CountSnmpProbe(result.seconds, result.snmpTimedOut, result.snmpRequests);
  parts_.metrics.CountProbe(result.up ? ProbeOutcome::Success : ProbeOutcome::Failure);
  if (!result.up) {
    parts_.log.Log(LogLevel::Warn, "probe failed",
                   {{"target", target.address + ":" + std::to_string(target.port)},
                    {"card", target.card},
                    {"err", result.reason}});
  }
  // Moved in, not copied as set_content would: the answer is some 19 KB.
  response.body = ProbeExposition(result);
  response.set_header("Content-Type", host::ExpositionWriter::kContentType);
}

std::optional<std::string> ExporterServer::Reload(const std::string& trigger) {
  return monitoring::ReloadConfig(parts_.config, parts_.log, trigger);
}

}  // namespace t740::exporter
