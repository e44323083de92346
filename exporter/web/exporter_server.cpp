#include "exporter/web/exporter_server.h"

#include <httplib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

#include "exporter/metrics/probe_metrics.h"
#include "exporter/probe/card_prober.h"
#include "exporter/probe/probe_query.h"
#include "exporter/probe/scrape_budget.h"
#include "exporter/web/connection_pool.h"
#include "exporter/web/guarded_server.h"
#include "exporter/web/guarded_stream.h"
#include "exporter/web/request_body.h"
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

// The answer's last on its connection: what follows it on the wire is no
// request of this server's.
void EndConnection(GuardedStream& stream, httplib::Response& response) {
  stream.EndAfterAnswer();
  response.set_header("Connection", "close");
}

constexpr ConnectionBounds kBounds{
    {std::chrono::seconds(kRequestSeconds), std::chrono::seconds(kAnswerSeconds), kHeadMaximum,
     kPayloadMaximum + kBodyFramingBytes},
    std::chrono::seconds(kKeepAliveSeconds),
    kKeepAliveRequests};

constexpr BodyBounds kBodyBounds{kPayloadMaximum, kBodyFramingBytes};

double Seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

}  // namespace

struct ExporterServer::Route {
  const char* method;
  const char* path;
  void (ExporterServer::*answer)(const httplib::Request&, httplib::Response&);
};

const ExporterServer::Route ExporterServer::kRoutes[] = {
    {"GET", "/", &ExporterServer::Home},
    {"GET", "/metrics", &ExporterServer::Metrics},
    {"GET", "/probe", &ExporterServer::Probe},
    {"POST", "/-/reload", &ExporterServer::ReloadAnswer},
};

ExporterServer::ExporterServer(ExporterParts parts, const WebConfig& web)
    : parts_(parts),
      tls_(web.tls ? std::make_unique<TlsContext>(web.tls->certFile, web.tls->keyFile) : nullptr),
      server_(std::make_unique<GuardedServer>(
          kBounds, [this] { parts_.metrics.CountRefusedConnection(); },
          tls_ ? tls_->Get() : nullptr)) {
  if (!web.users.empty()) auth_.emplace(web.users);
  server_->new_task_queue = [this] {
    return new ConnectionPool(kConnectionsMaximum,
                              [this](int open) { parts_.metrics.SetOpenConnections(open); });
  };
  // The guarded server keeps its own deadlines; these two are what the
  // answers' Keep-Alive header announces.
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  server_->set_keep_alive_max_count(kKeepAliveRequests);
  // The answer leaves in two writes (head, then body): without this the
  // body waits for the client's delayed acknowledgement of the head, some
  // 40 ms on a kept-alive connection.
  server_->set_tcp_nodelay(true);
  Handle();
}

ExporterServer::~ExporterServer() = default;

bool ExporterServer::Authorized(const std::string& authorization) const {
  return !auth_ || auth_->Allows(authorization);
}

// Every request is answered before the library's own routing, which would
// read a body only for some methods and only for some answers: here the
// body is read (or the connection ended) whatever the method and answer.
void ExporterServer::Handle() {
  server_->set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        Answer(request, response);
        return httplib::Server::HandlerResponse::Handled;
      });
  server_->set_exception_handler(
      [this](const httplib::Request& request, httplib::Response& response,
             std::exception_ptr error) { Failed(request, response, error); });
  server_->set_error_handler([](const httplib::Request&, httplib::Response& response) {
    // A request the library refused itself (a request line over its bound,
    // a head it cannot parse) never reached Answer, its body unread.
    GuardedStream* stream = GuardedStream::Current();
    if (stream && !stream->Routed()) EndConnection(*stream, response);
    if (response.body.empty()) {
      response.set_content(response.status == 404 ? "not found: see / for the endpoints\n"
                                                  : "the request was refused (HTTP " +
                                                        std::to_string(response.status) + ")\n",
                           kTextPlain);
    }
  });
}

void ExporterServer::Answer(const httplib::Request& request, httplib::Response& response) {
  GuardedStream* stream = GuardedStream::Current();
  if (!stream) throw std::logic_error("a request served off its guarded stream");
  stream->HeadRead();
  if (stream->HeaderLines() > kHeadersMaximum) {
    EndConnection(*stream, response);
    return Refuse(response, 431, "more than " + std::to_string(kHeadersMaximum) + " header lines");
  }
  const BodyOutcome body = ReadRequestBody(*stream, request, kBodyBounds);
  if (body.status != 0) {
    EndConnection(*stream, response);
    return Refuse(response, body.status, body.reason);
  }
  if (!Authorized(request.get_header_value("Authorization"))) {
    response.set_header("WWW-Authenticate", kRealm);
    return Refuse(response, 401, "unauthorized");
  }
  Dispatch(request, response);
}

void ExporterServer::Dispatch(const httplib::Request& request, httplib::Response& response) {
  // HEAD is a GET whose answer the library sends without its body.
  const std::string method = request.method == "HEAD" ? "GET" : request.method;
  std::string allowed;
  for (const Route& route : kRoutes) {
    if (request.path != route.path) continue;
    if (method == route.method) return (this->*route.answer)(request, response);
    allowed = route.method;
  }
  if (allowed.empty()) return Refuse(response, 404, "not found: see / for the endpoints");
  response.set_header("Allow", allowed);
  Refuse(response, 405, request.method + " is not served at " + request.path);
}

void ExporterServer::Failed(const httplib::Request& request, httplib::Response& response,
                            std::exception_ptr error) {
  std::string what = "unknown error";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    what = caught.what();
  } catch (...) {
  }
  parts_.log.Log(LogLevel::Error, "request failed", {{"path", request.path}, {"err", what}});
  if (request.path == "/probe") parts_.metrics.CountProbe(ProbeOutcome::Error);
  // Where the request failed, its body may be left unread.
  if (GuardedStream* stream = GuardedStream::Current()) EndConnection(*stream, response);
  Refuse(response, 500, "internal error");
}

void ExporterServer::Home(const httplib::Request&, httplib::Response& response) {
  response.set_content(kHomePage, "text/html; charset=utf-8");
}

void ExporterServer::Metrics(const httplib::Request&, httplib::Response& response) {
  const ReloadState reload{parts_.config.LastReloadSuccessful(),
                           parts_.config.LastSuccessSeconds()};
  response.set_content(parts_.metrics.Exposition(reload), host::ExpositionWriter::kContentType);
}

void ExporterServer::ReloadAnswer(const httplib::Request&, httplib::Response& response) {
  if (const auto error = Reload("POST /-/reload")) {
    Refuse(response, 500, "the configuration was not reloaded: " + *error);
  } else {
    response.set_content("configuration reloaded\n", kTextPlain);
  }
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
  std::optional<int> budget =
      ScrapeBudgetMilliseconds(request.get_header_value(kScrapeTimeoutHeader));
  // A probe whose scrape has ended, or whose client has gone, gives its
  // turn up: nobody waits for its answer.
  const auto deadline = budget ? queued + std::chrono::milliseconds(*budget)
                               : std::chrono::steady_clock::time_point::max();
  GuardedStream* stream = GuardedStream::Current();
  const ProbeGate::Pass pass(probes_, deadline, [stream] { return stream->ClientGone(); });
  const auto waited = std::chrono::steady_clock::now() - queued;
  if (!pass.Held()) {
    parts_.metrics.CountProbe(ProbeOutcome::Abandoned);
    parts_.log.Log(LogLevel::Warn, "probe abandoned while waiting for a place",
                   {{"target", target.address + ":" + std::to_string(target.port)},
                    {"card", target.card},
                    {"waited_seconds", std::to_string(Seconds(waited))}});
    return Refuse(response, 503, "the probe's scrape time-out passed while it waited for a place");
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

int ExporterServer::Bind(const ListenAddress& address) {
  errno = 0;
  const int port = address.port == 0 ? server_->bind_to_any_port(address.host)
                   : server_->bind_to_port(address.host, address.port) ? address.port
                                                                       : -1;
  if (port <= 0) {
    const std::string why = errno != 0 ? std::strerror(errno) : "the address does not resolve";
    throw std::runtime_error("cannot listen on " + address.host + ":" +
                             std::to_string(address.port) + ": " + why);
  }
  server_->Deepen();
  return port;
}

bool ExporterServer::Serve() {
  return server_->Serve();
}

void ExporterServer::Stop() {
  server_->Halt();
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
