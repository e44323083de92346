#include "exporter/options/exporter_options.h"

#include "common/option_table.h"
#include "hosting/errors/host_error.h"
#include "monitoring/probe/probe_query.h"

namespace t740::exporter {
namespace {

using host::UsageError;

// "[HOST]:PORT": an IPv4 address, or none for every address.
void StoreListenAddress(ExporterOptions& options, const std::string& value) {
  const std::optional<ListenAddress> address = ParseListenAddress(value);
  if (!address) {
    throw UsageError("--web.listen-address: '" + value + "' is not [IPv4 ADDRESS]:PORT");
  }
  options.listenAddress = value;
  options.listen = *address;
}

void StoreLogLevel(ExporterOptions& options, const std::string& value) {
  const auto level = LogLevelNamed(value);
  if (!level) throw UsageError("--log.level: '" + value + "' is not debug, info, warn or error");
  options.logLevel = *level;
}

void StoreAllowTarget(ExporterOptions& options, const std::string& value) {
  const auto network = ParseCidr(value);
  if (!network) throw UsageError("--allow-target: '" + value + "' is not an IPv4 CIDR");
  options.allowTargets.Add(*network);
}

void StoreFile(std::string& file, const char* option, const std::string& value) {
  if (value.empty()) throw UsageError(std::string(option) + " needs a file");
  file = value;
}

const OptionEntry<ExporterOptions> kOptions[] = {
    {"--web.listen-address", "[ADDRESS]:PORT",
     "where to serve HTTP; default :9740 (every address); port 0 takes a\n"
     "free one, which the log's \"listening\" line names",
     StoreListenAddress},
    {"--config.file", "FILE",
     "the exporter's configuration (auths, time-out, retries); default\n"
     "SNMPv2c with community public, 1 s time-out, 1 retry",
     [](ExporterOptions& options, const std::string& value) {
       StoreFile(options.configFile, "--config.file", value);
     }},
    {"--web.config.file", "FILE",
     "TLS and basic authentication, as Prometheus's exporter toolkit reads them",
     [](ExporterOptions& options, const std::string& value) {
       StoreFile(options.webConfigFile, "--web.config.file", value);
     }},
    {"--log.level", "LEVEL", "debug, info (the default), warn or error", StoreLogLevel},
    {"--allow-target", "CIDR", "probe only cards in this IPv4 network (repeatable); default any",
     StoreAllowTarget},
    {"--plugin", "PATH",
     "the plug-in to load; default the installed one relative to\n"
     "t740-exporter (../lib/<multiarch>/libt740.so.1), else libt740.so.1 by\n"
     "the loader's search",
     [](ExporterOptions& options, const std::string& value) {
       StoreFile(options.pluginPath, "--plugin", value);
     }},
    {"--help", nullptr, "show this help and exit",
     [](ExporterOptions& options, const std::string&) { options.help = true; }},
    {"--version", nullptr, "show the version and exit",
     [](ExporterOptions& options, const std::string&) { options.version = true; }},
};

}  // namespace

ExporterOptions ParseExporterOptions(const std::vector<std::string>& words) {
  ExporterOptions options;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "-h") {
      options.help = true;
    } else if (!StoreOption<UsageError>(kOptions, words, i, options)) {
      throw UsageError("unknown option '" + words[i] + "'");
    }
  }
  return options;
}

std::string ExporterHelp() {
  return "Usage: t740-exporter [options]\n"
         "\n"
         "A Prometheus exporter for t740 SDH line cards: GET /probe?target=ADDRESS[:PORT]\n"
         "&card=CARDADDRESS[&auth=NAME] reads the card's status over SNMP, decodes it\n"
         "with the card's plug-in (libt740.so) and answers in Prometheus's text format;\n"
         "/metrics has the exporter's own metrics. SIGHUP or POST /-/reload reloads\n"
         "the configuration.\n"
         "\n"
         "Options:\n" +
         TableHelp(kOptions) +
         "\n"
         "Exit status: 0 stopped by SIGTERM or SIGINT, 1 the plug-in or the listening\n"
         "socket failed, 2 bad arguments or a bad configuration file.\n";
}

}  // namespace t740::exporter
