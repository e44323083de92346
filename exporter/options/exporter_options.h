// t740-exporter's command line, with the flags of Prometheus's exporters.
#ifndef T740_EXPORTER_OPTIONS_EXPORTER_OPTIONS_H
#define T740_EXPORTER_OPTIONS_EXPORTER_OPTIONS_H

#include <string>
#include <vector>

#include "monitoring/log/logger.h"
#include "monitoring/probe/target_allow_list.h"
#include "monitoring/web/listen_address.h"

namespace t740::exporter {

// The exporter is built on the pieces it shares with the alerter.
using namespace monitoring;

constexpr char kDefaultListenAddress[] = ":9740";

struct ExporterOptions {
  std::string listenAddress = kDefaultListenAddress;
  ListenAddress listen{"0.0.0.0", 9740};
  std::string configFile;     // empty: the defaults
  std::string webConfigFile;  // empty: plain HTTP, no authentication
  LogLevel logLevel = LogLevel::Info;
  TargetAllowList allowTargets;
  std::string pluginPath;  // empty: as t740-host finds it
  bool help = false;
  bool version = false;
};

// Throws host::UsageError.
ExporterOptions ParseExporterOptions(const std::vector<std::string>& words);
std::string ExporterHelp();

}  // namespace t740::exporter

#endif
