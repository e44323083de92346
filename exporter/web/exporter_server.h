// The exporter's HTTP side: /probe, /metrics, / and POST /-/reload on the
// shared web server.
#ifndef T740_EXPORTER_WEB_EXPORTER_SERVER_H
#define T740_EXPORTER_WEB_EXPORTER_SERVER_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exporter/metrics/exporter_metrics.h"
#include "exporter/options/exporter_options.h"
#include "hosting/plugin/plugin_library.h"
#include "monitoring/config/config_holder.h"
#include "monitoring/config/web_config.h"
#include "monitoring/log/logger.h"
#include "monitoring/probe/session_pool.h"
#include "monitoring/probe/target_allow_list.h"
#include "monitoring/web/probe_gate.h"
#include "monitoring/web/web_server.h"

namespace t740::exporter {

// The exporter is built on the pieces it shares with the alerter.
using namespace monitoring;

constexpr int kProbesAtOnce = 16;  // more wait their turn

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

  int Bind(const ListenAddress& address) { return web_.Bind(address); }
  bool Serve() { return web_.Serve(); }
  void Stop() { web_.Stop(); }

  // Loads the configuration file again; a failure keeps the configuration
  // in force. `trigger` names the cause in the log.
  std::optional<std::string> Reload(const std::string& trigger);

 private:
  std::vector<WebRoute> Routes();
  WebServerHooks Hooks();
  void Metrics(const httplib::Request& request, httplib::Response& response);
  void ReloadAnswer(const httplib::Request& request, httplib::Response& response);
  void Probe(const httplib::Request& request, httplib::Response& response);

  ExporterParts parts_;
  ProbeGate probes_{kProbesAtOnce};
  WebServer web_;
};

}  // namespace t740::exporter

#endif
