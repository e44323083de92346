#include "monitoring/config/program_configs.h"

namespace t740::monitoring {

std::optional<ProgramConfigs> LoadProgramConfigs(const std::string& configFile,
                                                 const std::string& webConfigFile, Logger& log) {
  try {
    ProgramConfigs configs{std::make_unique<ConfigHolder>(configFile), {}};
    if (!webConfigFile.empty()) configs.web = LoadWebConfig(webConfigFile);
    return configs;
  } catch (const ConfigError& error) {
    log.Log(LogLevel::Error, "bad configuration", {{"err", error.what()}});
    return std::nullopt;
  }
}

}  // namespace t740::monitoring
