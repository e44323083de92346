// The exporter's log on its error stream, one logfmt line an event as
// Prometheus's exporters write them: ts=... level=... msg="..." key=value.
// Any thread.
#ifndef T740_MONITORING_LOG_LOGGER_H
#define T740_MONITORING_LOG_LOGGER_H

#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace t740::monitoring {

enum class LogLevel { Debug, Info, Warn, Error };

std::optional<LogLevel> LogLevelNamed(const std::string& name);

using LogFields = std::vector<std::pair<std::string, std::string>>;

class Logger {
 public:
  Logger(std::ostream& out, LogLevel least) : out_(out), least_(least) {}

  void Log(LogLevel level, const std::string& message, const LogFields& fields = {});
  // At info level whatever the least level logged: for the few lines an
  // operator needs at any level, such as the address a port 0 turned into.
  void Announce(const std::string& message, const LogFields& fields);

 private:
  void Write(LogLevel level, const std::string& message, const LogFields& fields);

  std::ostream& out_;
  const LogLevel least_;
  std::mutex mutex_;
};

}  // namespace t740::monitoring

#endif
