// A reload of the configuration file, by SIGHUP or POST /-/reload, told in
// the log: a failure keeps the configuration in force.
#ifndef T740_MONITORING_CONFIG_CONFIG_RELOAD_H
#define T740_MONITORING_CONFIG_CONFIG_RELOAD_H

#include <optional>
#include <string>

#include "monitoring/config/config_holder.h"
#include "monitoring/log/logger.h"

namespace t740::monitoring {

// Why the reload failed, or nothing; `trigger` names the cause in the log.
std::optional<std::string> ReloadConfig(ConfigHolder& config, Logger& log,
                                        const std::string& trigger);

}  // namespace t740::monitoring

#endif
