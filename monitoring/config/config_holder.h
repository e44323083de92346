// The configuration in force, shared by the probes, and its reload (on
// SIGHUP or POST /-/reload): a reload that fails keeps the configuration in
// force and says why.
#ifndef T740_MONITORING_CONFIG_CONFIG_HOLDER_H
#define T740_MONITORING_CONFIG_CONFIG_HOLDER_H

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "monitoring/config/access_config.h"

namespace t740::monitoring {

class ConfigHolder {
 public:
  using Loader = std::function<AccessConfig(const std::string& path)>;

  // Without a path the defaults hold and a reload changes nothing. Throws
  // ConfigError when the first load fails.
  explicit ConfigHolder(std::string path, Loader load = LoadAccessConfig);

  std::shared_ptr<const AccessConfig> Current() const;
  // Nothing when the new configuration is in force, else why not.
  std::optional<std::string> Reload();

  bool LastReloadSuccessful() const;
  // Seconds since the epoch of the last load that succeeded.
  double LastSuccessSeconds() const;

 private:
  void Take(AccessConfig config);

  const std::string path_;
  const Loader load_;
  mutable std::mutex mutex_;
  std::shared_ptr<const AccessConfig> current_;
  bool lastSuccessful_ = true;
  double lastSuccessSeconds_ = 0;
};

}  // namespace t740::monitoring

#endif
