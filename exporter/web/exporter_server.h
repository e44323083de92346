// The exporter's HTTP side, on cpp-httplib: /probe, /metrics, / and
// POST /-/reload, over TLS and behind basic authentication when the web
// configuration asks, with bounded time-outs, request sizes and threads.
#ifndef T740_EXPORTER_WEB_EXPORTER_SERVER_H
#define T740_EXPORTER_WEB_EXPORTER_SERVER_H

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "exporter/config/config_holder.h"
#include "exporter/config/web_config.h"
#include "exporter/log/logger.h"
#include "exporter/metrics/exporter_metrics.h"
#include "exporter/options/exporter_options.h"
#include "exporter/probe/session_pool.h"
#include "exporter/probe/target_allow_list.h"
#include "exporter/web/basic_auth.h"
#include "exporter/web/probe_gate.h"
#include "hosting/plugin/plugin_library.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace t740::exporter {

class GuardedServer;
class TlsContext;

// The bounds on what a client may ask of the server.
constexpr int kConnectionsMaximum = 512;      // open at once; more are refused with 503
constexpr int kProbesAtOnce = 16;             // more wait their turn
constexpr int kRequestSeconds = 5;            // for a whole request to arrive
constexpr int kAnswerSeconds = 10;            // for a whole answer to leave
constexpr int kKeepAliveSeconds = 5;          // an idle connection's life
constexpr int kKeepAliveRequests = 100;       // requests on one connection
constexpr size_t kHeadMaximum = 16384;        // request line and headers
constexpr size_t kRequestLineMaximum = 8192;  // the library's own bound: 414
constexpr size_t kHeadersMaximum = 100;       // header lines the client sends
constexpr size_t kPayloadMaximum = 65536;     // a request body
constexpr size_t kBodyFramingBytes = 4096;    // chunk sizes and trailers beside it

struct ExporterParts {
  const host::PluginExports& exports;
  ConfigHolder& config;
  const TargetAllowList& allowList;
  SessionPool& sessions;
  ExporterMetrics& metrics;
  Logger& log;
};

class ExporterServer {
 public:
  // Throws ConfigError when the TLS certificate or key does not load.
  ExporterServer(ExporterParts parts, const WebConfig& web);
  ~ExporterServer();
  ExporterServer(const ExporterServer&) = delete;
  ExporterServer& operator=(const ExporterServer&) = delete;

  // The port bound; throws std::runtime_error, saying why, when the address
  // cannot be had.
  int Bind(const ListenAddress& address);
  // Serves until Stop(), at once when Stop() came first; false when the
  // listening socket failed instead.
  bool Serve();
  // Any thread, at any time after Bind().
  void Stop();

  // Loads the configuration file again; a failure keeps the configuration
  // in force. `trigger` names the cause in the log.
  std::optional<std::string> Reload(const std::string& trigger);

 private:
  struct Route;
  static const Route kRoutes[];

  void Handle();
  void Answer(const httplib::Request& request, httplib::Response& response);
  void Dispatch(const httplib::Request& request, httplib::Response& response);
  void Home(const httplib::Request& request, httplib::Response& response);
  void Metrics(const httplib::Request& request, httplib::Response& response);
  void ReloadAnswer(const httplib::Request& request, httplib::Response& response);
  void Probe(const httplib::Request& request, httplib::Response& response);
  void Failed(const httplib::Request& request, httplib::Response& response,
              std::exception_ptr error);
  bool Authorized(const std::string& authorization) const;

  ExporterParts parts_;
  std::optional<BasicAuth> auth_;
  ProbeGate probes_{kProbesAtOnce};
  std::unique_ptr<TlsContext> tls_;  // before the server, which uses it
  std::unique_ptr<GuardedServer> server_;
};

}  // namespace t740::exporter

#endif
