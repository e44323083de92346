#include "monitoring/log/logger.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace t740::monitoring {
namespace {

struct LevelName {
  LogLevel level;
  const char* name;
};
constexpr LevelName kLevels[] = {{LogLevel::Debug, "debug"},
                                 {LogLevel::Info, "info"},
                                 {LogLevel::Warn, "warn"},
                                 {LogLevel::Error, "error"}};

const char* NameOf(LogLevel level) {
  for (const LevelName& entry : kLevels) {
    if (entry.level == level) return entry.name;
  }
  return "info";
}

// Quoted when it holds a space, a quote, an equals sign or a control
// character.
std::string Value(const std::string& text) {
  bool plain = !text.empty();
  for (unsigned char c : text) plain = plain && c > ' ' && c != '"' && c != '=' && c != 0x7F;
  if (plain) return text;
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c < ' ' || c == 0x7F) {
      quoted += '?';
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

std::string Timestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(milliseconds));
  return text;
}

}  // namespace

std::optional<LogLevel> LogLevelNamed(const std::string& name) {
  for (const LevelName& entry : kLevels) {
    if (name == entry.name) return entry.level;
  }
  return std::nullopt;
}

void Logger::Log(LogLevel level, const std::string& message, const LogFields& fields) {
  if (level >= least_) Write(level, message, fields);
}

void Logger::Announce(const std::string& message, const LogFields& fields) {
  Write(LogLevel::Info, message, fields);
}

void Logger::Write(LogLevel level, const std::string& message, const LogFields& fields) {
  std::string line = "ts=" + Timestamp() + " level=" + NameOf(level) + " msg=" + Value(message);
  for (const auto& [key, value] : fields) line += " " + key + "=" + Value(value);
  std::lock_guard<std::mutex> lock(mutex_);
  out_ << line << '\n' << std::flush;
}

}  // namespace t740::monitoring
