#include "monitoring/config/config_holder.h"

#include <chrono>

namespace t740::monitoring {
namespace {

double NowSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

ConfigHolder::ConfigHolder(std::string path, Loader load)
    : path_(std::move(path)), load_(std::move(load)) {
  Take(path_.empty() ? AccessConfig{} : load_(path_));
}

std::shared_ptr<const AccessConfig> ConfigHolder::Current() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

std::optional<std::string> ConfigHolder::Reload() {
  try {
    Take(path_.empty() ? AccessConfig{} : load_(path_));
    return std::nullopt;
  } catch (const ConfigError& error) {
    std::lock_guard<std::mutex> lock(mutex_);
    lastSuccessful_ = false;
    return std::string(error.what());
  }
}

bool ConfigHolder::LastReloadSuccessful() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastSuccessful_;
}

double ConfigHolder::LastSuccessSeconds() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastSuccessSeconds_;
}

void ConfigHolder::Take(AccessConfig config) {
  auto shared = std::make_shared<const AccessConfig>(std::move(config));
  std::lock_guard<std::mutex> lock(mutex_);
  current_ = std::move(shared);
  lastSuccessful_ = true;
  lastSuccessSeconds_ = NowSeconds();
}

}  // namespace t740::monitoring
