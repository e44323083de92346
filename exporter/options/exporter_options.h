// t740-exporter's command line, with the flags of Prometheus's exporters.
#ifndef T740_EXPORTER_OPTIONS_EXPORTER_OPTIONS_H
#define T740_EXPORTER_OPTIONS_EXPORTER_OPTIONS_H

#include <string>
#include <vector>

#include "exporter/log/logger.h"
#include "exporter/probe/target_allow_list.h"

namespace t740::exporter {

constexpr char kDefaultListenAddress[] = ":9740";

struct ListenAddress {
  std::string host;  // "0.0.0.0" for ":PORT"
  int port;          // 0: a free one
};

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
