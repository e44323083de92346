#include "monitoring/config/config_reload.h"

namespace t740::monitoring {

std::optional<std::string> ReloadConfig(ConfigHolder& config, Logger& log,
                                        const std::string& trigger) {
  const auto error = config.Reload();
  if (error) {
    log.Log(LogLevel::Error, "reloading the configuration failed; the old one stays",
            {{"trigger", trigger}, {"err", *error}});
  } else {
    log.Log(LogLevel::Info, "configuration reloaded", {{"trigger", trigger}});
  }
  return error;
}

}  // namespace t740::monitoring
