#include "alerter/options/alerter_options.h"

#include <cstdint>
#include <optional>

#include "common/option_table.h"
#include "common/unit_number.h"
#include "hosting/errors/host_error.h"

namespace t740::alerter {
namespace {

using host::UsageError;

constexpr long kRoundLeast = 100;
constexpr long kRoundMost = 24L * 60 * 60 * 1000;

std::optional<int64_t> Milliseconds(const std::string& text) {
  return UnitNumber(text, {{"ms", 1}, {"s", 1000}, {"m", 60 * 1000}, {"h", 60 * 60 * 1000}}, 9);
}

monitoring::ListenAddress ListenOf(const char* option, const std::string& value) {
  const auto address = monitoring::ParseListenAddress(value);
  if (!address)
    throw UsageError(std::string(option) + ": '" + value + "' is not [IPv4 ADDRESS]:PORT");
  return *address;
}

void StoreFile(std::string& file, const char* option, const std::string& value) {
  if (value.empty()) throw UsageError(std::string(option) + " needs a file");
  file = value;
}

void StoreAlertmanager(AlerterOptions& options, const std::string& value) {
  try {
    options.alertmanagers.push_back(ParseAlertmanagerUrl(value));
  } catch (const std::invalid_argument& error) {
    throw UsageError(error.what());
  }
}

void StoreRound(AlerterOptions& options, const std::string& value) {
  const auto milliseconds = Milliseconds(value);
  if (!milliseconds || *milliseconds < kRoundLeast || *milliseconds > kRoundMost) {
    throw UsageError("--round.interval: '" + value +
                     "' is no time from 100ms to 24h (e.g. 30s, 1m)");
  }
  options.round = std::chrono::milliseconds(*milliseconds);
}

void StoreLogLevel(AlerterOptions& options, const std::string& value) {
  const auto level = monitoring::LogLevelNamed(value);
  if (!level) throw UsageError("--log.level: '" + value + "' is not debug, info, warn or error");
  options.logLevel = *level;
}

void StoreAllowTarget(AlerterOptions& options, const std::string& value) {
  const auto network = monitoring::ParseCidr(value);
  if (!network) throw UsageError("--allow-target: '" + value + "' is not an IPv4 CIDR");
  options.allowTargets.Add(*network);
}

// Prometheus's units of --storage.tsdb.retention.time from an hour up,
// and of --storage.tsdb.retention.size, whose KB is 1024 bytes.
constexpr int64_t kRetentionLeastBytes = 1LL << 20;
constexpr size_t kRetentionDigits = 6;

void StoreRetentionTime(AlerterOptions& options, const std::string& value) {
  const auto hours =
      UnitNumber(value, {{"h", 1}, {"d", 24}, {"w", 7 * 24}, {"y", 365 * 24}}, kRetentionDigits);
  if (hours && *hours > 0) {
    options.retention.age = std::chrono::hours(*hours);
    return;
  }
  throw UsageError("--storage.retention.time: '" + value +
                   "' is no time of an hour or more (e.g. 48h, 90d, 12w, 1y)");
}

void StoreRetentionSize(AlerterOptions& options, const std::string& value) {
  const auto bytes = UnitNumber(
      value, {{"KB", 1LL << 10}, {"MB", 1LL << 20}, {"GB", 1LL << 30}, {"TB", 1LL << 40}, {"B", 1}},
      kRetentionDigits);
  if (bytes && *bytes >= kRetentionLeastBytes) {
    options.retention.bytes = *bytes;
    return;
  }
  throw UsageError("--storage.retention.size: '" + value +
                   "' is no size of 1MB or more (e.g. 512MB, 1GB)");
}

const OptionEntry<AlerterOptions> kOptions[] = {
    {"--snmp.listen-address", "[ADDRESS]:PORT",
     "where the cards' notifications arrive (UDP); default :9162",
     [](AlerterOptions& options, const std::string& value) {
       options.snmpListen = ListenOf("--snmp.listen-address", value);
     }},
    {"--alertmanager.url", "URL",
     "an Alertmanager to post to, http://HOST:PORT[/PREFIX] or https (repeatable;\n"
     "at least one): every alert goes to each",
     StoreAlertmanager},
    {"--targets.file", "FILE",
     "the cards, as a Prometheus file service discovery document (repeatable;\n"
     "at least one), read again when it changes",
     [](AlerterOptions& options, const std::string& value) {
       options.targetsFiles.emplace_back();
       StoreFile(options.targetsFiles.back(), "--targets.file", value);
     }},
    {"--round.interval", "DURATION", "how often every card is probed whatever it sent; default 1m",
     StoreRound},
    {"--web.listen-address", "[ADDRESS]:PORT",
     "where to serve HTTP; default :9741; port 0 takes a free one, which the\n"
     "log's \"listening\" line names",
     [](AlerterOptions& options, const std::string& value) {
       options.listen = ListenOf("--web.listen-address", value);
     }},
    {"--config.file", "FILE",
     "auths, time-out, retries and who may send notifications; default\n"
     "SNMPv2c with community public, 1 s time-out, 1 retry",
     [](AlerterOptions& options, const std::string& value) {
       StoreFile(options.configFile, "--config.file", value);
     }},
    {"--web.config.file", "FILE",
     "TLS and basic authentication, as Prometheus's exporter toolkit reads them",
     [](AlerterOptions& options, const std::string& value) {
       StoreFile(options.webConfigFile, "--web.config.file", value);
     }},
    {"--log.level", "LEVEL", "debug, info (the default), warn or error", StoreLogLevel},
    {"--allow-target", "CIDR", "probe only cards in this IPv4 network (repeatable); default any",
     StoreAllowTarget},
    {"--plugin", "PATH", "the plug-in to load; default as t740-exporter finds it",
     [](AlerterOptions& options, const std::string& value) {
       StoreFile(options.pluginPath, "--plugin", value);
     }},
    {"--storage.path", "DIR", "where the alarm log is kept (DIR/alarm-log.sqlite3); default ./data",
     [](AlerterOptions& options, const std::string& value) {
       StoreFile(options.storagePath, "--storage.path", value);
     }},
    {"--storage.retention.time", "DURATION",
     "how long the alarm log keeps a change, by the card's time; default 90d", StoreRetentionTime},
    {"--storage.retention.size", "SIZE",
     "the most the alarm log's file may take; the oldest changes go first;\n"
     "default 1GB",
     StoreRetentionSize},
    {"--help", nullptr, "show this help and exit",
     [](AlerterOptions& options, const std::string&) { options.help = true; }},
    {"--version", nullptr, "show the version and exit",
     [](AlerterOptions& options, const std::string&) { options.version = true; }},
};

}  // namespace

AlerterOptions ParseAlerterOptions(const std::vector<std::string>& words) {
  AlerterOptions options;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "-h") {
      options.help = true;
    } else if (!StoreOption<UsageError>(kOptions, words, i, options)) {
      throw UsageError("unknown option '" + words[i] + "'");
    }
  }
  if (options.help || options.version) return options;
  if (options.alertmanagers.empty()) throw UsageError("no --alertmanager.url given");
  if (options.targetsFiles.empty()) throw UsageError("no --targets.file given");
  return options;
}

std::string AlerterHelp() {
  return "Usage: t740-alerter --alertmanager.url URL --targets.file FILE [options]\n"
         "\n"
         "Alarms of t740 SDH line cards in Alertmanager the moment a card raises them:\n"
         "the cards' notifications (SNMPv2c traps, SNMPv3 traps and informs) make the\n"
         "alerter probe the card through its plug-in (libt740.so), and each alarm that\n"
         "rose or cleared is posted to Alertmanager under the labels of the shipped\n"
         "Prometheus rules. Every card is also probed at the start and each round.\n"
         "/metrics has the alerter's own metrics; SIGHUP or POST /-/reload reloads the\n"
         "configuration.\n"
         "\n"
         "Options:\n" +
         TableHelp(kOptions) +
         "\n"
         "Exit status: 0 stopped by SIGTERM or SIGINT, 1 the plug-in or a listening\n"
         "socket failed, 2 bad arguments or a bad configuration file.\n";
}

}  // namespace t740::alerter
