#include "exporter/web/exporter_server.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "exporter/metrics/probe_metrics.h"
#include "exporter/probe/card_prober.h"
#include "exporter/probe/probe_query.h"
#include "exporter/probe/scrape_budget.h"
#include "exporter/web/connection_pool.h"
#include "exporter/web/guarded_server.h"
#include "exporter/web/guarded_stream.h"
#include "exporter/web/tls_context.h"
#include "hosting/text/exposition_writer.h"

namespace t740::exporter {
namespace {

constexpr char kTextPlain[] = "text/plain; charset=utf-8";
constexpr char kScrapeTimeoutHeader[] = "X-Prometheus-Scrape-Timeout-Seconds";
constexpr char kRealm[] = "Basic realm=\"t740-exporter\"";

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

void Refuse(httplib::Response& response, int status, const std::string& reason) {
  response.status = status;
  response.set_content(reason + "\n", kTextPlain);
}

constexpr ConnectionBounds kBounds{
    {std::chrono::seconds(kRequestSeconds), std::chrono::seconds(kAnswerSeconds), kHeadMaximum,
     kPayloadMaximum + kBodyFramingBytes},
    std::chrono::seconds(kKeepAliveSeconds),
    kKeepAliveRequests};

}  // namespace

ExporterServer::ExporterServer(ExporterParts parts, const WebConfig& web)
    : parts_(parts),
      tls_(web.tls ? std::make_unique<TlsContext>(web.tls->certFile, web.tls->keyFile) : nullptr),
      server_(std::make_unique<GuardedServer>(
          kBounds, [this] { parts_.metrics.CountRefusedConnection(); },
          tls_ ? tls_->Get() : nullptr)) {
  if (!web.users.empty()) auth_.emplace(web.users);
  server_->new_task_queue = [] { return new ConnectionPool(kConnectionsMaximum); };
  // The guarded server keeps its own deadlines; these two are what the
  // answers' Keep-Alive header announces.
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  server_->set_keep_alive_max_count(kKeepAliveRequests);
  server_->set_payload_max_length(kPayloadMaximum);
  // The answer leaves in two writes (head, then body): without this the
  // body waits for the client's delayed acknowledgement of the head, some
  // 40 ms on a kept-alive connection.
  server_->set_tcp_nodelay(true);
  Route();
}

ExporterServer::~ExporterServer() = default;

bool ExporterServer::Authorized(const std::string& authorization) const {
  return !auth_ || auth_->Allows(authorization);
}

void ExporterServer::Route() {
  server_->set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (GuardedStream* stream = GuardedStream::Current()) stream->HeadRead();
        if (request.headers.size() > kHeadersMaximum) {
          Refuse(response, 431, "more than " + std::to_string(kHeadersMaximum) + " header lines");
          return httplib::Server::HandlerResponse::Handled;
        }
        if (Authorized(request.get_header_value("Authorization"))) {
          return httplib::Server::HandlerResponse::Unhandled;
        }
        response.set_header("WWW-Authenticate", kRealm);
        Refuse(response, 401, "unauthorized");
        return httplib::Server::HandlerResponse::Handled;
      });
  server_->set_exception_handler([this](const httplib::Request& request,
                                        httplib::Response& response, std::exception_ptr error) {
    std::string what = "unknown error";
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& caught) {
      what = caught.what();
    } catch (...) {
    }
    parts_.log.Log(LogLevel::Error, "request failed", {{"path", request.path}, {"err", what}});
    Refuse(response, 500, "internal error");
  });
  server_->Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(kHomePage, "text/html; charset=utf-8");
  });
  server_->Get("/metrics", [this](const httplib::Request&, httplib::Response& response) {
    const ReloadState reload{parts_.config.LastReloadSuccessful(),
                             parts_.config.LastSuccessSeconds()};
    response.set_content(parts_.metrics.Exposition(reload), host::ExpositionWriter::kContentType);
  });
  server_->Post("/-/reload", [this](const httplib::Request&, httplib::Response& response) {
    if (const auto error = Reload("POST /-/reload")) {
      Refuse(response, 500, "the configuration was not reloaded: " + *error);
    } else {
      response.set_content("configuration reloaded\n", kTextPlain);
    }
  });
  server_->Get("/probe", [this](const httplib::Request& request, httplib::Response& response) {
    Probe(request, response);
  });
  server_->set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.body.empty()) {
      response.set_content(response.status == 404 ? "not found: see / for the endpoints\n"
                                                  : "the request was refused (HTTP " +
                                                        std::to_string(response.status) + ")\n",
                           kTextPlain);
    }
  });
}

void ExporterServer::Probe(const httplib::Request& request, httplib::Response& response) {
  const ProbeQuery query = ParseProbeQuery(request.params);
  if (!query.target) {
    parts_.metrics.CountProbe(ProbeOutcome::BadRequest);
    return Refuse(response, 400, query.error);
  }
  const ProbeTarget& target = *query.target;
  if (!parts_.allowList.Allows(target.ipv4)) {
    parts_.metrics.CountProbe(ProbeOutcome::Forbidden);
    return Refuse(response, 403, "target " + target.address + " is not in --allow-target");
  }
  const std::shared_ptr<const ExporterConfig> config = parts_.config.Current();
  const Auth* auth = &config->defaultAuth;
  if (!target.auth.empty()) {
    const auto named = config->auths.find(target.auth);
    if (named == config->auths.end()) {
      parts_.metrics.CountProbe(ProbeOutcome::BadRequest);
      return Refuse(response, 400, "auth: unknown auth '" + target.auth + "'");
    }
    auth = &named->second;
  }
  const auto queued = std::chrono::steady_clock::now();
  const ProbeGate::Pass pass(probes_);
  // The wait for a place counts against the scrape's time.
  std::optional<int> budget =
      ScrapeBudgetMilliseconds(request.get_header_value(kScrapeTimeoutHeader));
  if (budget) {
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - queued);
    budget = std::max(kBudgetMinimumMilliseconds, *budget - static_cast<int>(waited.count()));
  }
  const SnmpTries tries = FitTries({config->timeoutMilliseconds, config->retries}, budget);
  const ProbeResult result = ProbeCard(parts_.exports, parts_.sessions, target, *auth, tries);
  parts_.metrics.CountSnmpProbe(result.seconds, result.snmpTimedOut);
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

int ExporterServer::Bind(const ListenAddress& address) {
  if (address.port == 0) {
    const int port = server_->bind_to_any_port(address.host);
    if (port > 0) {
      server_->Deepen();
      return port;
    }
  } else if (server_->bind_to_port(address.host, address.port)) {
    server_->Deepen();
    return address.port;
  }
  throw std::runtime_error("cannot listen on " + address.host + ":" + std::to_string(address.port));
}

void ExporterServer::Serve() {
  server_->listen_after_bind();
}

void ExporterServer::Stop() {
  server_->stop();
}

std::optional<std::string> ExporterServer::Reload(const std::string& trigger) {
  const auto error = parts_.config.Reload();
  if (error) {
    parts_.log.Log(LogLevel::Error, "reloading the configuration failed; the old one stays",
                   {{"trigger", trigger}, {"err", *error}});
  } else {
    parts_.log.Log(LogLevel::Info, "configuration reloaded", {{"trigger", trigger}});
  }
  return error;
}

}  // namespace t740::exporter
