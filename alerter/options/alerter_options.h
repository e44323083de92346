// t740-alerter's command line, with the flags of Prometheus's programs.
#ifndef T740_ALERTER_OPTIONS_ALERTER_OPTIONS_H
#define T740_ALERTER_OPTIONS_ALERTER_OPTIONS_H

#include <chrono>
#include <string>
#include <vector>

#include "alerter/alertmanager/alertmanager_url.h"
#include "alerter/history/alarm_log.h"
#include "monitoring/log/logger.h"
#include "monitoring/probe/target_allow_list.h"
#include "monitoring/web/listen_address.h"

namespace t740::alerter {

struct AlerterOptions {
  monitoring::ListenAddress snmpListen{"0.0.0.0", 9162};
  monitoring::ListenAddress listen{"0.0.0.0", 9741};
  std::vector<AlertmanagerUrl> alertmanagers;
  std::vector<std::string> targetsFiles;
  std::chrono::milliseconds round = std::chrono::minutes(1);
  std::string configFile;     // empty: the defaults
  std::string webConfigFile;  // empty: plain HTTP, no authentication
  monitoring::LogLevel logLevel = monitoring::LogLevel::Info;
  monitoring::TargetAllowList allowTargets;
  std::string pluginPath;              // empty: as t740-host finds it
  std::string storagePath = "./data";  // the alarm log's directory
  LogRetention retention;
  bool help = false;
  bool version = false;
};

// Throws host::UsageError, also when no Alertmanager or no targets file is
// given.
AlerterOptions ParseAlerterOptions(const std::vector<std::string>& words);
std::string AlerterHelp();

}  // namespace t740::alerter

#endif
