// t740-exporter: wires the options, the configuration, the plug-in, the
// metrics and the HTTP server together, and runs until stopped.
#include <memory>

#include "exporter/metrics/exporter_metrics.h"
#include "exporter/options/exporter_options.h"
#include "exporter/web/exporter_server.h"
#include "hosting/errors/host_error.h"
#include "hosting/plugin/plugin_library.h"
#include "hosting/transport/snmp_library.h"
#include "monitoring/config/config_holder.h"
#include "monitoring/config/program_configs.h"
#include "monitoring/config/web_config.h"
#include "monitoring/log/logger.h"
#include "monitoring/process/process_signals.h"
#include "monitoring/process/program_main.h"

namespace {

using namespace t740::exporter;
using t740::host::kExitUsage;

constexpr char kProgram[] = "t740-exporter";

int Serve(const ExporterOptions& options, Logger& log) {
  const ProcessSignals signals;
  std::optional<ProgramConfigs> configs =
      LoadProgramConfigs(options.configFile, options.webConfigFile, log);
  if (!configs) return kExitUsage;
  ConfigHolder& config = *configs->config;
  const WebConfig& web = configs->web;
  const t740::host::PluginLibrary plugin(t740::host::ResolveProgramPluginPath(options.pluginPath));
  t740::host::StartSnmpLibrary();
  ExporterMetrics metrics(T740_VERSION, plugin.Path());
  SessionPool sessions(
      SessionPoolAgents(RaiseOpenFilesLimit(), kConnectionsMaximum, kProbesAtOnce));
  std::unique_ptr<ExporterServer> server;
  try {
    server = std::make_unique<ExporterServer>(
        ExporterParts{plugin.Exports(), config, options.allowTargets, sessions, metrics, log}, web);
  } catch (const ConfigError& error) {
    log.Log(LogLevel::Error, "bad web configuration", {{"err", error.what()}});
    return kExitUsage;
  }
  const int port = server->Bind(options.listen);
  log.Announce("listening", {{"address", options.listen.host + ":" + std::to_string(port)},
                             {"tls", web.tls ? "true" : "false"},
                             {"plugin", plugin.Path()},
                             {"version", T740_VERSION}});
  return ServeUntilStopped(signals, *server, log);
}

}  // namespace

int main(int argc, char** argv) {
  return t740::monitoring::RunProgram<ExporterOptions>({kProgram, T740_VERSION}, argc, argv,
                                                       ParseExporterOptions, ExporterHelp, Serve);
}
