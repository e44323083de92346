// The alerter's HTTP side on the shared web server: /metrics, /-/ready,
// /-/healthy, POST /-/reload and the alarm desk's page at / with its style
// sheet and script.
#ifndef T740_ALERTER_WEB_ALERTER_SERVER_H
#define T740_ALERTER_WEB_ALERTER_SERVER_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "alerter/metrics/alerter_metrics.h"
#include "monitoring/config/config_holder.h"
#include "monitoring/config/web_config.h"
#include "monitoring/log/logger.h"
#include "monitoring/web/web_server.h"

namespace t740::alerter {

struct ServerParts {
  monitoring::ConfigHolder& config;
  AlerterMetrics& metrics;
  monitoring::Logger& log;
  std::function<AlerterState()> state;  // the parts' counts, for /metrics
  std::function<bool()> ready;
  std::vector<monitoring::WebRoute> api;  // the alarm desk's JSON API
};

class AlerterServer {
 public:
  // Throws ConfigError when the TLS certificate or key does not load.
  AlerterServer(ServerParts parts, const monitoring::WebConfig& web);

  int Bind(const monitoring::ListenAddress& address) { return web_.Bind(address); }
  bool Serve() { return web_.Serve(); }
  void Stop() { web_.Stop(); }

  // Loads the configuration file again; a failure keeps the configuration
  // in force. `trigger` names the cause in the log.
  std::optional<std::string> Reload(const std::string& trigger);

 private:
  std::vector<monitoring::WebRoute> Routes();
  monitoring::WebServerHooks Hooks();

  ServerParts parts_;
  monitoring::WebServer web_;
};

}  // namespace t740::alerter

#endif
