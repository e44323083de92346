// The two files a program of the monitoring side starts with: its
// configuration (auths, tries, notifications), held for reloads, and its
// web configuration (TLS, basic authentication).
#ifndef T740_MONITORING_CONFIG_PROGRAM_CONFIGS_H
#define T740_MONITORING_CONFIG_PROGRAM_CONFIGS_H

#include <memory>
#include <optional>
#include <string>

#include "monitoring/config/config_holder.h"
#include "monitoring/config/web_config.h"
#include "monitoring/log/logger.h"

namespace t740::monitoring {

struct ProgramConfigs {
  std::unique_ptr<ConfigHolder> config;
  WebConfig web;
};

// Nothing when either does not load: the reason is logged, and the
// program ends with its usage status. An empty web file is plain HTTP.
std::optional<ProgramConfigs> LoadProgramConfigs(const std::string& configFile,
                                                 const std::string& webConfigFile, Logger& log);

}  // namespace t740::monitoring

#endif
